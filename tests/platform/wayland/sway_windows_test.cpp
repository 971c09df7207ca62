#include "platform/wayland/sway_windows.h"

#include <gtest/gtest.h>

using namespace quorvex;

// sway's tree as GET_TREE answers it, cut to what counts: an output with a workspace holding a
// split of two tiled windows, a floating one over them and one on a workspace not shown.
TEST(SwayWindows, TheFocusedOneAndWhichLiesOnTop)
{
    const char* tree = R"({"id": 1, "type": "root", "rect": {"x": 0, "y": 0, "width": 2560, "height": 800},
      "nodes": [{"type": "output", "name": "HEADLESS-1", "nodes": [
        {"type": "workspace", "name": "1", "visible": true, "nodes": [
          {"type": "con", "layout": "splith", "rect": {"x": 0, "y": 0, "width": 1280, "height": 800}, "nodes": [
            {"type": "con", "pid": 10, "visible": true, "focused": false, "name": "left \"one\" \u00e9",
             "rect": {"x": 0, "y": 0, "width": 640, "height": 800}, "nodes": []},
            {"type": "con", "pid": 11, "visible": true, "focused": true, "fullscreen_mode": 0,
             "rect": {"x": 640, "y": 0, "width": 640, "height": 800}, "nodes": []}]}],
          "floating_nodes": [{"type": "floating_con", "pid": 12, "visible": true, "focused": false,
             "rect": {"x": 500, "y": 300, "width": 300, "height": 200}, "nodes": []}]},
        {"type": "workspace", "name": "2", "nodes": [{"type": "con", "pid": 13, "visible": false,
             "rect": {"x": 0, "y": 0, "width": 1280, "height": 800}, "nodes": []}], "floating_nodes": []}]}]})";
    const Result<JsonValue> parsed = parseJson(tree);
    ASSERT_TRUE(parsed) << parsed.error();
    const SwayWindows windows = swayWindows(*parsed);
    EXPECT_EQ(windows.focused, (PixelRect{640, 0, 640, 800}));
    ASSERT_EQ(windows.shown.size(), 3u);
    EXPECT_EQ(windows.shown[0], (PixelRect{500, 300, 300, 200})); // floating, on top
    EXPECT_EQ(windows.shown[2].width, 640);
}

// With title bars: a floating window's lies above its rect; a stacked container's titles lie between
// its top and its windows.
TEST(SwayWindows, TitleBarsAreInTheFrame)
{
    const char* tree
        = R"({"type": "workspace", "rect": {"x": 0, "y": 0, "width": 1280, "height": 800}, "nodes": [
        {"type": "con", "layout": "stacked", "rect": {"x": 0, "y": 100, "width": 600, "height": 700}, "nodes": [
          {"type": "con", "pid": 10, "visible": false, "border": "normal", "deco_rect": {"height": 27},
           "rect": {"x": 0, "y": 154, "width": 600, "height": 646}},
          {"type": "con", "pid": 11, "visible": true, "focused": true, "border": "normal",
           "deco_rect": {"height": 27}, "rect": {"x": 0, "y": 154, "width": 600, "height": 646}}]}],
      "floating_nodes": [{"type": "floating_con", "pid": 12, "visible": true, "border": "normal",
           "deco_rect": {"height": 27}, "rect": {"x": 700, "y": 327, "width": 300, "height": 200}},
        {"type": "floating_con", "pid": 13, "visible": true, "border": "pixel", "deco_rect": {"height": 0},
           "rect": {"x": 1000, "y": 0, "width": 100, "height": 100}}]})";
    const Result<JsonValue> parsed = parseJson(tree);
    ASSERT_TRUE(parsed) << parsed.error();
    const SwayWindows windows = swayWindows(*parsed);
    EXPECT_EQ(windows.focused, (PixelRect{0, 100, 600, 700}));
    ASSERT_EQ(windows.shown.size(), 3u);
    EXPECT_EQ(windows.shown[0], (PixelRect{1000, 0, 100, 100}));
    EXPECT_EQ(windows.shown[1], (PixelRect{700, 300, 300, 227}));
}

TEST(SwayWindows, WhatIsNotJsonIsRefusedWithWhere)
{
    for (const char* bad : {"", "{", "{\"a\" 1}", "[1,]", "\"open", "{\"a\": tru}", "1 2", "[[[[[[[["})
        EXPECT_FALSE(parseJson(bad)) << bad;
    EXPECT_EQ(
        parseJson("{\"a\": 1} x").error(), "the compositor's answer has more after its end (at byte 9)");
    EXPECT_FALSE(parseJson(std::string(300, '[') + std::string(300, ']'))); // nested too deep
    const Result<JsonValue> value = parseJson(R"({"n": -1.5e2, "s": "a\nb", "t": true, "z": null, "l": []})");
    ASSERT_TRUE(value);
    EXPECT_EQ(value->member("n")->number, -150);
    EXPECT_EQ(value->member("s")->string, "a\nb");
    EXPECT_TRUE(value->member("t")->isTrue());
    EXPECT_EQ(value->member("missing"), nullptr);
    EXPECT_EQ(swayWindows(*value).shown.size(), 0u);
}
