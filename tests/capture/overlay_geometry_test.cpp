#include "capture/overlay_geometry.h"
#include "common/device_pixels.h"

#include "ui_helpers.h"

#include <gtest/gtest.h>
#include <limits>

using namespace quorvex;
using testsupport::k96Dpi;

// Worked example: window at 3000, 1500 twips, frame 4 pixels, so b = (4 + 1) x 15 = 75 twips.
TEST(SelectionGrab, WorkedExampleGivesTheInsideOfTheFrame)
{
    const QRect s1(120, 240, 2400, 2010);
    EXPECT_EQ(selectionGrabRect({3000, 1500}, s1, k96Dpi), QRect(213, 121, 158, 132));

    EXPECT_EQ(selectionGrabGeometry(s1.size(), {158, 132}, k96Dpi),
        (SelectionGrabGeometry{2370, 1980, 2400, 2010, 158.0f, 132.0f}));
}

// On a scaled screen the same frame covers more device pixels; the picture and the title count them,
// and the picture keeps the frame's physical size in twips.
TEST(SelectionGrab, ScaledScreensGrabTheDevicePixelsInsideTheFrame)
{
    const struct {
        double ratio;
        QPoint screenOrigin;
        QRect expected;
    } cases[] = {
        {1, {0, 0}, {213, 121, 158, 132}}, {2, {0, 0}, {426, 242, 316, 264}},
        {1.5, {0, 0},
            {320, 182, 237, 198}}, // offsets 19.5 and 31.5 round away from zero, as Qt places windows
        {2, {200, 0}, {226, 242, 316, 264}}, // a second monitor: its corner is where its device pixels put it
    };
    const QRect s1(120, 240, 2400, 2010);
    for (const auto& c : cases) {
        const QRect logical = selectionGrabRect({3000, 1500}, s1, k96Dpi);
        const QPoint window(200, 100);
        const QRect device
            = deviceGrabRect(logical, window, toDevicePoint(window, {c.screenOrigin, c.ratio}), c.ratio);
        EXPECT_EQ(device, c.expected) << c.ratio;
        const SelectionGrabGeometry g
            = selectionGrabGeometry(s1.size(), device.size(), k96Dpi.perDevicePixel(c.ratio));
        EXPECT_DOUBLE_EQ(g.pictureWidth, 2370) << c.ratio;
        EXPECT_EQ(g.titleWidth, float(device.width())) << c.ratio;
    }
}

// One pixel inside s1 past our 4-pixel frame, each axis on its own scale; left of the screen too.
TEST(SelectionGrab, RectangleStartsOnePixelInsideS1InPixelTerms)
{
    EXPECT_EQ(
        selectionGrabRect({2400, 1000}, {120, 240, 2400, 2010}, Twips{12, 10}), QRect(215, 129, 198, 199));
    EXPECT_EQ(selectionGrabRect({-750, 13500}, {120, 240, 4500, 600}, k96Dpi), QRect(-37, 921, 298, 38));
}

TEST(ResizeRule, SnapsToTheMinimumAndS1FollowsTheWindow)
{
    EXPECT_EQ(snapToMinimum({449, 601}), QSize(450, 601));
    EXPECT_EQ(snapToMinimum({-3000, 599}), QSize(450, 600));
    const OverlayLayout designed = designedOverlayLayout(k96Dpi);
    const OverlayMargins margins = marginsAtLoad(designed);
    const OverlayLayout wide = followWindowSize(designed, margins, {6000, 3000});
    EXPECT_EQ(wide.s1, QRect(120, 240, 5610, 2520));
    EXPECT_EQ(followWindowSize(wide, margins, designed.window), designed);
}

TEST(DefinedSize, WindowLengthIsClampedBetweenMinimumAndVirtualScreen)
{
    constexpr double inf = std::numeric_limits<double>::infinity();
    const struct {
        double twips;
        int pixels;
    } cases[] = {
        {1920, 128}, // 100 x 100 grab: 390 + 1530 twips
        {420, 30}, // "0" typed: up to the minimum
        {28815, 1920}, // one pixel more than the screen
        {inf, 1920},
        {std::numeric_limits<double>::quiet_NaN(), 30},
    };
    for (const auto& c : cases)
        EXPECT_EQ(overlayLengthPixels(c.twips, kOverlayMinimumWidth, 1920, 15), c.pixels) << c.twips;

    // A screen smaller than the minimum still gets it; at 16 twips a pixel 450 twips need 29, not 28.
    EXPECT_EQ(overlayLengthPixels(1e12, kOverlayMinimumHeight, 20, 15), 40);
    EXPECT_EQ(overlayLengthPixels(0, kOverlayMinimumWidth, 1920, 16), 29);
}
