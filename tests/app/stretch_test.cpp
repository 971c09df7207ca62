#include "app/picture_box.h"
#include "app/picture_gestures.h"
#include "app/stretch.h"
#include "test_images.h"

#include <gtest/gtest.h>

using namespace quorvex;

// pic1 at Left 240, Top 600, 3000 x 1500 twips: R = 3240, B = 2100; its edges round halves to even.
TEST(StretchZone, StripsCornerAndOutside)
{
    const struct {
        double x, y;
        StretchMode mode;
        const char* what;
        double left = 240;
    } cases[] = {
        {3240, 1350, StretchMode::Horizontal, "exactly on the right edge"},
        {3389, 1350, StretchMode::Horizontal, "last twip of the strip"},
        {3390, 1350, StretchMode::None, "R + 150 is outside"},
        {3239, 1350, StretchMode::None, "inside the box"},
        {3245, 600, StretchMode::None, "level with the top edge: the vertical span is strict"},
        {3345, 2199, StretchMode::Proportional, "the right strip reaches 100 twips below the box"},
        {3345, 2200, StretchMode::None, "and no further"},
        {1500, 2249, StretchMode::Vertical, "last twip of the bottom strip"},
        {1500, 2250, StretchMode::None, "B + 150"},
        {240, 2105, StretchMode::None, "level with the left edge: the horizontal span is strict"},
        {3245, 1905, StretchMode::Proportional, "195 twips above the bottom"},
        {3245, 1900, StretchMode::Horizontal, "200 twips above the bottom is not the corner"},
        {3100, 2105, StretchMode::Proportional, "below, 140 twips left of the right edge"},
        {3250, 2110, StretchMode::Proportional, "just beyond the corner, where both strips meet"},
        {3240, 1350, StretchMode::Horizontal, "Left + Width = 3240.5 rounds to the even 3240", 240.5},
        {3241, 1350, StretchMode::None, "3241.5 rounds to 3242", 241.5},
    };
    for (const auto& c : cases)
        EXPECT_EQ(stretchZone({c.left, 600, 3000, 1500}, c.x, c.y), c.mode) << c.what;
}

TEST(StretchDrag, SizesFollowThePointerWithTheirFallbacksAndRefusals)
{
    const struct {
        StretchMode mode;
        double x, y;
        int grabWidth, grabHeight;
        double width, height; // of pic1, from 1500 x 900 twips at Left 240, Top 600
        const char* what;
    } cases[] = {
        {StretchMode::Horizontal, 240 + 3000, 9999, 0, 0, 3000, 900, "the width follows the pointer"},
        {StretchMode::Vertical, 9999, 600 + 450, 0, 0, 1500, 450, "the height follows the pointer"},
        {StretchMode::None, 9999, 9999, 15000, 9000, 1500, 900, "a press elsewhere changes nothing"},
        {StretchMode::Horizontal, 100, 0, 0, 0, 285, 900, "left of the box: Left + 50 = 290 twips, 19 px"},
        {StretchMode::Vertical, 0, 300, 0, 0, 1500, 645, "above the box: Top + 50 = 650 twips, 43 px"},
        {StretchMode::Proportional, 240 + 7500, 0, 15000, 9000, 7500, 4500, "unit 150, percent 50"},
        {StretchMode::Proportional, 240 + 7620, 0, 15000, 9000, 7620, 4590, "percent 51 (50.8 rounded)"},
        {StretchMode::Proportional, 240 + 600, 0, 50, 9000, 600, 0, "unit 0: the percent stays 0"},
        {StretchMode::Proportional, 240 + 4000, 0, 150, 9000, 4005, 180180, "267 px, unit 2: 2002 percent"},
        {StretchMode::Proportional, 240 + 12000, 0, 150, 9000, 12000, 900, "36000 px high: step skipped"},
        {StretchMode::Proportional, 240 + 14000, 0, 150, 2000000000, 13995, 900,
            "933 px; the product passes 32 bits"},
    };
    for (const auto& c : cases) {
        PictureBox b(Twips{}, false, false);
        b.setLeft(240);
        b.setTop(600);
        b.setWidth(1500);
        b.setHeight(900);
        applyStretchDrag(b, c.mode, c.x, c.y, c.grabWidth, c.grabHeight);
        EXPECT_EQ(b.width(), c.width) << c.what;
        EXPECT_EQ(b.height(), c.height) << c.what;
    }
}

// A drag keeps the title and held copy; the release redraws at the new size or refuses no height.
TEST(StretchGesture, TheReleaseRedrawsAtTheDraggedSizeOrKeepsThePicture)
{
    const QImage picture = testsupport::asymmetricPattern(200, 100);
    const struct {
        int grabWidth;
        QPointF hover, to;
        ResizeResult result;
        QSize outer;
        const char* title;
    } cases[] = {{3030, {6000, 4500}, {6750, 4800}, ResizeResult::Done, {200, 100}, "Quorvex7 - (200x100)"},
        {3030, {3245, 1200}, {6240, 1200}, ResizeResult::Done, {400, 100}, "Quorvex7 - (400x100)"},
        {45, {3245, 2090}, {4500, 2090}, ResizeResult::Refused, {200, 100}, "Quorvex7 - (200.5x100)"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.title);
        PictureViewState state(Twips{});
        state.acceptSelectionGrab(picture, {3000, 1500, c.grabWidth, 1530, 200.5f, 100});
        PictureGestures gestures(state);
        gestures.surfaceMove(c.hover);
        gestures.surfacePress();
        gestures.surfaceMove(c.to);
        EXPECT_EQ(state.title(), "Quorvex7 - (200.5x100)");
        EXPECT_EQ(testsupport::differenceBetween(state.heldCopy().picture(), picture), QString());
        EXPECT_EQ(gestures.surfaceRelease(), c.result);
        EXPECT_FALSE(gestures.stretching());
        EXPECT_EQ(state.view().outerSize(), c.outer);
        EXPECT_EQ(state.title(), c.title);
        QImage expected(c.outer, QImage::Format_RGB32);
        for (int y = 0; y < expected.height(); ++y)
            for (int x = 0; x < expected.width(); ++x)
                expected.setPixel(x, y, picture.pixel(x * picture.width() / expected.width(), y));
        EXPECT_EQ(testsupport::differenceBetween(state.view().picture(), expected), QString());
        EXPECT_EQ(testsupport::differenceBetween(state.heldCopy().picture(), expected), QString());
    }
}
