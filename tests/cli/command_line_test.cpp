#include "cli/command_line.h"
#include "cli/command_line_grab.h"
#include "cli/grab_file_name.h"
#include "cli/message_line.h"

#include <gtest/gtest.h>

using namespace quorvex;
using Action = CommandLine::Action;

namespace {
CommandLine parse(std::vector<std::string> arguments)
{
    arguments.insert(arguments.begin(), "quorvex7");
    return parseCommandLine(arguments);
}
} // namespace

TEST(CommandLine, MistakesGiveOneClearLine)
{
    const std::vector<std::string> bad[]
        = {{"--grab"}, {"--region", "1x1+0+0"}, {"--grab", "a.jpg", "--delay", "-1"},
            {"--grab", "a.jpg", "--delay", "soon"}, {"--grab", "a.jpg", "extra"},
            {"--grab", "a.jpg", "--delay", "inf"}, {"--grab", "-", "--format", "gif"},
            {"--grab", "-", "--format", "xpng"}, {"--grab", "a.jpg", "--quality", "0"},
            {"--grab", "a.jpg", "--quality", "101"}, {"--grab", "a.jpg", "--quality", "9.5"},
            {"--grab", "-", "--format", "png", "--quality", "50"}, {"--format", "png"}, {"--quality", "50"}};
    for (const auto& arguments : bad) {
        const CommandLine c = parse(arguments);
        EXPECT_EQ(c.action, Action::Error) << arguments.back();
        EXPECT_FALSE(c.error.empty());
        EXPECT_EQ(c.error.find('\n'), std::string::npos);
    }
    EXPECT_EQ(parse({"--bogus"}).error, "unknown option '--bogus'");
    EXPECT_EQ(parse({"--grab"}).error, "missing value after '--grab'");
    EXPECT_EQ(parse({"-?"}).action, Action::Help);
    EXPECT_EQ(parse({"-v"}).action, Action::Version);
}

TEST(CommandLine, RegionGeometry)
{
    EXPECT_EQ(parseRegion("1x1+0+0"), (PixelRect{0, 0, 1, 1}));
    EXPECT_EQ(parseRegion("100x20-5+7"), (PixelRect{-5, 7, 100, 20}));
    for (const char* bad : {"0x10+0+0", "10x10", "axb+1+2", "10x10+1+2junk", "9999999999x1+0+0"})
        EXPECT_EQ(parseRegion(bad), std::nullopt) << bad;
}

// Endings in any case, the format to stdout and the first two names in a folder are run end to end.
TEST(CommandLineGrab, FormatAndNewFileNames)
{
    EXPECT_EQ(grabFormatForName("shotjpg"), GrabFormat::Jpeg);
    EXPECT_EQ(grabFormatForName("a.jpeg"), std::nullopt);
    EXPECT_EQ(grabFormatForName("-"), std::nullopt);
    std::tm moment{};
    moment.tm_year = 2026 - 1900, moment.tm_mon = 11, moment.tm_mday = 7;
    moment.tm_min = 3, moment.tm_sec = 22; // at hour 0, padded as well
    EXPECT_EQ(grabFileName(moment, GrabFormat::Jpeg, 3), "Quorvex7 2026-12-07 00-03-22 (3).jpg");
    EXPECT_EQ(grabFileName(moment, GrabFormat::Bmp, 10), "Quorvex7 2026-12-07 00-03-22 (10).bmp");
}

// What each source name means is the desktop's description's (tests/platform).
TEST(CommandLineGrab, TheScreenSourceIsOneOfTheKnownOnes)
{
    EXPECT_EQ(parse({"--grab", "-", "--screen", "ScreenCopy"}).screen, "screencopy");
    EXPECT_EQ(parse({"--grab", "-", "--screen", "kwin"}).screen, "kwin");
    EXPECT_EQ(parse({"--grab", "-", "--screen", "vnc"}).action, Action::Error);
}

TEST(CommandLine, WhatAFailureEchoesStaysOnItsLine)
{
    EXPECT_EQ(oneLine("cannot write 'a\nb.png': \"x\"\t\x1b[2J\r\x7f\x01 é"),
        "cannot write 'a\\nb.png': \"x\"\\t\\x1b[2J\\r\\x7f\\x01 é");
}
