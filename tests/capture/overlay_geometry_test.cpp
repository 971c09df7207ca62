#include "capture/overlay_geometry.h"
#include "common/device_pixels.h"

#include "ui_helpers.h"

#include <gtest/gtest.h>
#include <limits>

using namespace quorvex;
using testsupport::k96Dpi;

// Part of the worked example: window at 3000, 1500 twips, s1 at 120, 240, 2400 x 2010, our frame 4
// pixels thick, so b = (4 + 1) x 15 = 75 twips each way.
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

TEST(SelectionGrab, RectangleStartsOnePixelInsideS1InPixelTerms)
{
    // Window at pixel (200, 100): frame 4, s1 at (8, 16) in the client area, border 1.
    const struct {
        Twips twips;
        QPoint windowPixels;
        QRect s1Pixels;
    } cases[] = {
        {k96Dpi, {200, 100}, {8, 16, 160, 134}}, {k96Dpi, {0, 0}, {8, 16, 4, 8}},
        {k96Dpi, {-50, 900}, {8, 16, 300, 40}},
        {Twips{12, 10}, {200, 100}, {10, 24, 200, 201}}, // non-square pixels: each axis its own b
    };
    for (const auto& c : cases) {
        const QPoint window(c.windowPixels.x() * c.twips.perPixelX, c.windowPixels.y() * c.twips.perPixelY);
        const QRect s1(c.s1Pixels.x() * c.twips.perPixelX, c.s1Pixels.y() * c.twips.perPixelY,
            c.s1Pixels.width() * c.twips.perPixelX, c.s1Pixels.height() * c.twips.perPixelY);
        const QRect expected(c.windowPixels + QPoint(kOverlayFramePixels, kOverlayFramePixels)
                + c.s1Pixels.topLeft() + QPoint(1, 1),
            c.s1Pixels.size() - QSize(2, 2));
        EXPECT_EQ(selectionGrabRect(window, s1, c.twips), expected) << c.twips.perPixelX;
    }
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
        {1927.5, 128}, // 128.5 pixels: halves to even
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
