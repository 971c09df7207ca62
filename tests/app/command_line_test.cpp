#include "app/command_line.h"
#include "app/command_line_grab.h"

#include <gtest/gtest.h>

using namespace quorvex;
using Action = CommandLine::Action;

namespace {
CommandLine parse(QStringList arguments)
{
    arguments.prepend(QStringLiteral("quorvex7"));
    return parseCommandLine(arguments);
}
} // namespace

TEST(CommandLine, GrabWithRegionAndDelay)
{
    const CommandLine c = parse({"--grab", "shot.jpg", "--region", "640x480+100+50", "--delay", "1.5"});
    ASSERT_EQ(c.action, Action::Grab) << c.error.toStdString();
    EXPECT_EQ(c.file, "shot.jpg");
    ASSERT_TRUE(c.region);
    EXPECT_EQ(*c.region, QRect(100, 50, 640, 480));
    EXPECT_DOUBLE_EQ(c.delaySeconds, 1.5);

    const CommandLine plain = parse({"--grab=out.bmp"});
    EXPECT_EQ(plain.action, Action::Grab);
    EXPECT_FALSE(plain.region);
    EXPECT_EQ(plain.delaySeconds, 0);
}

TEST(CommandLine, MistakesGiveOneClearLine)
{
    const QStringList bad[] = {{"--grab"}, {"--grab", "a.jpg", "--region", "10x10"}, {"--region", "1x1+0+0"},
        {"--grab", "a.jpg", "--delay", "-1"}, {"--grab", "a.jpg", "--delay", "soon"}, {"--bogus"},
        {"--grab", "a.jpg", "extra"}, {"--grab", "a.jpg", "--delay", "inf"}};
    for (const QStringList& arguments : bad) {
        const CommandLine c = parse(arguments);
        EXPECT_EQ(c.action, Action::Error) << arguments.join(' ').toStdString();
        EXPECT_FALSE(c.error.isEmpty());
        EXPECT_FALSE(c.error.contains('\n'));
    }
}

TEST(CommandLine, RegionGeometry)
{
    EXPECT_EQ(parseRegion("1x1+0+0"), QRect(0, 0, 1, 1));
    EXPECT_EQ(parseRegion("100x20-5+7"), QRect(-5, 7, 100, 20));
    EXPECT_EQ(parseRegion("0x10+0+0"), std::nullopt);
    EXPECT_EQ(parseRegion("10x10"), std::nullopt);
    EXPECT_EQ(parseRegion("axb+1+2"), std::nullopt);
    EXPECT_EQ(parseRegion("10x10+1+2junk"), std::nullopt);
    EXPECT_EQ(parseRegion("9999999999x1+0+0"), std::nullopt);
}

TEST(CommandLineGrab, SaysWhyTheScreenCannotBeRead)
{
    EXPECT_TRUE(unreadableScreenReason({":0", "", "x11"}).isEmpty());
    EXPECT_TRUE(unreadableScreenReason({":0", "", ""}).isEmpty());
    EXPECT_TRUE(unreadableScreenReason({"", "", ""}).contains("no display"));
    EXPECT_TRUE(unreadableScreenReason({":0", "wayland-0", ""}).contains("Wayland"));
    EXPECT_TRUE(unreadableScreenReason({":0", "", "wayland"}).contains("Wayland"));
}
