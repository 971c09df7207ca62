#include "capture/frame_edge_geometry.h"
#include "capture/overlay_geometry.h"
#include "capture/overlay_shape.h"
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

    // One pixel inside s1 past our 4-pixel frame, each axis on its own scale; left of the screen too.
    EXPECT_EQ(
        selectionGrabRect({2400, 1000}, {120, 240, 2400, 2010}, Twips{12, 10}), QRect(215, 129, 198, 199));
    EXPECT_EQ(selectionGrabRect({-750, 13500}, {120, 240, 4500, 600}, k96Dpi), QRect(-37, 921, 298, 38));
}

// Scaled screens: the picture and the title count device pixels; the picture keeps the frame's twips.
TEST(SelectionGrab, ScaledScreensGrabTheDevicePixelsInsideTheFrame)
{
    const struct {
        double ratio;
        QPoint screenOrigin;
        QRect expected;
    } cases[] = {
        {1, {0, 0}, {213, 121, 158, 132}}, {2, {0, 0}, {426, 242, 316, 264}},
        {1.5, {0, 0}, {320, 182, 237, 198}}, // offsets 19.5 and 31.5 round away from zero, as Qt does
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
    const struct {
        double twips;
        int pixels;
    } cases[] = {
        {420, 30}, // "0" typed: up to the minimum
        {28815, 1920}, // one pixel more than the screen
        {std::numeric_limits<double>::infinity(), 1920},
        {std::numeric_limits<double>::quiet_NaN(), 30},
    };
    for (const auto& c : cases)
        EXPECT_EQ(overlayLengthPixels(c.twips, kOverlayMinimumWidth, 1920, 15), c.pixels) << c.twips;

    // A screen smaller than the minimum still gets it; at 16 twips a pixel 450 twips need 29, not 28.
    EXPECT_EQ(overlayLengthPixels(1e12, kOverlayMinimumHeight, 20, 15), 40);
    EXPECT_EQ(overlayLengthPixels(0, kOverlayMinimumWidth, 1920, 16), 29);
}

TEST(FrameEdges, EachEdgeAndCornerOfTheFrame)
{
    const struct {
        QPoint at;
        Qt::Edges edges;
    } cases[] = {
        {{0, 75}, Qt::LeftEdge}, {{4, 75}, {}}, // first pixel inside the frame
        {{199, 75}, Qt::RightEdge}, {{100, 0}, Qt::TopEdge}, {{0, 0}, Qt::LeftEdge | Qt::TopEdge},
        {{11, 2}, Qt::LeftEdge | Qt::TopEdge}, // within reach of the corner along the top
        {{12, 2}, Qt::TopEdge}, {{199, 149}, Qt::RightEdge | Qt::BottomEdge},
        {{-1, 75}, {}}, // outside the window
    };
    for (const auto& c : cases)
        EXPECT_EQ(frameEdgesAt(c.at, {200, 150}, 4), c.edges) << c.at.x() << "," << c.at.y();
}

TEST(FrameResize, DraggedEdgesMoveAndTheOthersStay)
{
    const QRect start(100, 50, 200, 150);
    const QSize minimum(30, 40);
    const QSize maximum(1920, 1080);
    const struct {
        Qt::Edges edges;
        QPoint delta;
        QRect result;
    } cases[] = {
        {Qt::RightEdge, {50, 7}, {100, 50, 250, 150}},
        {Qt::LeftEdge, {-30, 0}, {70, 50, 230, 150}}, // moves and grows, right edge stays at 300
        {Qt::RightEdge | Qt::BottomEdge, {-500, -500}, {100, 50, 30, 40}}, // stops at the minimum
        {Qt::LeftEdge, {500, 0}, {270, 50, 30, 150}}, // left edge stops where the minimum is reached
        {Qt::RightEdge, {5000, 0}, {100, 50, 1920, 150}}, // and at the maximum
        {{}, {40, 40}, start},
    };
    for (const auto& c : cases)
        EXPECT_EQ(resizedByFrame(start, c.edges, c.delta, minimum, maximum), c.result)
            << int(c.edges) << " " << c.delta.x() << "," << c.delta.y();
}

TEST(SelectionFrameLook, BorderAndCrossHatchOnARedBack)
{
    // '#' black border, '+' light-grey hatch (period 8, from s1's corner), '.' the red key.
    const char* const expected[] = {
        "###################",
        "#+....+..+....+..+#",
        "#.+..+....+..+....#",
        "#..++......++.....#",
        "#..++......++.....#",
        "#.+..+....+..+....#",
        "#+....+..+....+..+#",
        "#......++......++.#",
        "#......++......++.#",
        "#+....+..+....+..+#",
        "#.+..+....+..+....#",
        "###################",
    };
    const QImage on = selectionFrameImage({19, 12}, true);
    ASSERT_EQ(on.size(), QSize(19, 12));
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 19; ++x) {
            const char c = expected[y][x];
            const QRgb colour = c == '#' ? qRgb(0, 0, 0) : c == '+' ? kHatchColour : kTransparencyKey;
            ASSERT_EQ(on.pixel(x, y), colour) << x << "," << y;
        }
    EXPECT_TRUE(selectionFrameImage({0, 30}, true).isNull());
}

TEST(OverlayShape, FrameControlsAndS1LinesStayTheRedGoes)
{
    const QSize window(100, 80);
    const QRect client(4, 4, 92, 72);
    const QRect label2(0, 0, 100, 10); // reaches past the client area: clipped to it
    const QRect xButton(70, -3, 27, 18);
    const QRect s1(8, 16, 30, 20);
    QImage look = selectionFrameImage(s1.size(), true);
    look.setPixel(5, 5, qRgb(254, 0, 0));
    const QRegion shape = overlayShape(window, client, {label2, xButton}, s1, look);

    // Of s1, exactly the pixels that are not the red key stay (an almost red one is no key).
    const QPoint s1At = client.topLeft() + s1.topLeft();
    const auto s1Kept = [&](QPoint p) {
        return QRect(s1At, s1.size()).contains(p) && (look.pixel(p - s1At) | 0xFF000000) != kTransparencyKey;
    };
    for (int y = 0; y < window.height(); ++y)
        for (int x = 0; x < window.width(); ++x) {
            const QPoint p(x, y);
            const QPoint inClient = p - client.topLeft();
            const bool expected
                = !client.contains(p) || label2.contains(inClient) || xButton.contains(inClient) || s1Kept(p);
            ASSERT_EQ(shape.contains(p), expected) << x << "," << y;
        }

    // With hatch and border off the frame is all red key, so nothing of s1 is left.
    const QRegion grabbing
        = overlayShape(window, client, {label2, xButton}, s1, selectionFrameImage(s1.size(), false));
    EXPECT_TRUE((grabbing & s1.translated(client.topLeft())).isEmpty());
}
