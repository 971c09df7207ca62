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
    EXPECT_EQ(parse({"--select=yes"}).error, "'--select' takes no value");
    EXPECT_EQ(parse({"--help=me"}).error, "'--help' takes no value");
    EXPECT_EQ(parse({"--p"}).error, "'--p' is short for more than one option: --print, --pointer");
    EXPECT_EQ(parse({"-?"}).action, Action::Help);
    EXPECT_EQ(parse({"-v"}).action, Action::Version);
}

// The area options, the clipboard and --print: which go together, each mistake one line (exit 2).
TEST(CommandLine, AreasClipboardAndPrint)
{
    const CommandLine select = parse({"--select", "--print", "--delay", "2"});
    EXPECT_EQ(select.action, Action::Grab);
    EXPECT_EQ(select.area, GrabArea::Select);
    EXPECT_TRUE(select.print);
    EXPECT_TRUE(select.file.empty());
    const CommandLine output = parse({"--clipboard", "--output", "HDMI-1", "--pointer"});
    EXPECT_EQ(output.area, GrabArea::Output);
    EXPECT_EQ(output.output, "HDMI-1");
    EXPECT_TRUE(output.clipboard && output.pointer);
    EXPECT_EQ(
        parse({"--grab", "a.jpg", "--clipboard", "--window", "--quality", "50"}).area, GrabArea::Window);
    EXPECT_EQ(parse({"--list-outputs"}).action, Action::ListOutputs);
    EXPECT_EQ(parse({"--list-outputs", "--screen", "x11"}).screen, "x11");

    const std::pair<std::vector<std::string>, std::string> mistakes[] = {
        {{"--select"}, "--select goes with --grab or --clipboard"},
        {{"--pointer"}, "--pointer goes with --grab or --clipboard"},
        {{"--grab", "a.png", "--select", "--region", "1x1+0+0"},
            "--region, --select, --window and --output each choose the area: give one"},
        {{"--clipboard", "--window", "--output", "A"},
            "--region, --select, --window and --output each choose the area: give one"},
        {{"--select", "--print", "--grab", "a.png"},
            "--print grabs nothing: it goes without --grab and --clipboard"},
        {{"--print"}, "--print goes with --select, --window or --output"},
        {{"--window", "--print", "--pointer"}, "--pointer goes with --grab, not with --print"},
        {{"--clipboard", "--format", "jpg"}, "--format goes with --grab"},
        {{"--list-outputs", "--grab", "a.png"},
            "--list-outputs grabs nothing: it goes without --grab and --clipboard"},
        {{"--list-outputs", "--select"}, "--select goes with --grab, not with --list-outputs"},
        {{"--clipboard", "--output", ""}, "--output needs a monitor's name, as --list-outputs gives them"},
        // What the name says already: PNG, or a folder's new PNG file.
        {{"--grab", "a.png", "--quality", "50"}, "--quality goes with JPEG only"},
        {{"--grab", "shots/", "--quality", "50"}, "--quality goes with JPEG only"},
        {{"--grab", "-", "--quality", "50"}, "--quality goes with JPEG only"},
    };
    for (const auto& [arguments, error] : mistakes) {
        const CommandLine c = parse(arguments);
        EXPECT_EQ(c.action, Action::Error) << arguments.front();
        EXPECT_EQ(c.error, error);
    }
    EXPECT_EQ(parse({"--grab", "-", "--format", "jpg", "--quality", "50"}).quality, 50);
    EXPECT_EQ(regionText({-5, 7, 100, 20}), "100x20-5+7");
}

TEST(CommandLine, RegionGeometry)
{
    EXPECT_EQ(parseRegion("1x1+0+0"), (RegionGeometry{{0, 0, 1, 1}}));
    // A minus counts from the right or bottom edge, as X geometry has it.
    const std::optional<RegionGeometry> corner = parseRegion("100x20-0-0"), right = parseRegion("100x20-5+7");
    ASSERT_TRUE(corner && right);
    EXPECT_EQ(corner->placedOn({1920, 1080}), (PixelRect{1820, 1060, 100, 20}));
    EXPECT_EQ(right->placedOn({1920, 1080}), (PixelRect{1815, 7, 100, 20}));
    EXPECT_EQ(right->text(), "100x20-5+7");
    EXPECT_LT(parseRegion("999999999x1-999999999+0")->placedOn({1920, 1080}).x, 0); // outside, not wrapped
    for (const char* bad : {"0x10+0+0", "10x10", "axb+1+2", "10x10+1+2junk", "9999999999x1+0+0"})
        EXPECT_EQ(parseRegion(bad), std::nullopt) << bad;
}

// Endings in any case, the format to stdout and the first two names in a folder are run end to end.
TEST(CommandLineGrab, FormatAndNewFileNames)
{
    EXPECT_EQ(grabFormatForName("shotjpg"), GrabFormat::Jpeg);
    EXPECT_EQ(grabFormatForName("a.JPEG"), GrabFormat::Jpeg);
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
