#include "capture/overlay_shape.h"

#include <gtest/gtest.h>

using namespace quorvex;

TEST(SelectionFrameLook, BorderAndCrossHatchOnARedBackOnlyWhileOn)
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
    const QImage off = selectionFrameImage({19, 12}, false);
    ASSERT_EQ(on.size(), QSize(19, 12));
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 19; ++x) {
            const char c = expected[y][x];
            const QRgb colour = c == '#' ? qRgb(0, 0, 0) : c == '+' ? kHatchColour : kTransparencyKey;
            ASSERT_EQ(on.pixel(x, y), colour) << x << "," << y;
            ASSERT_EQ(off.pixel(x, y), kTransparencyKey) << x << "," << y;
        }
    EXPECT_TRUE(selectionFrameImage({0, 30}, true).isNull());
}

TEST(ColourKey, RegionHoldsExactlyTheNonRedPixels)
{
    QImage image = selectionFrameImage({61, 47}, true);
    image.setPixel(30, 20, qRgb(254, 0, 0)); // almost red is not the key
    const QRegion region = regionOutsideKey(image);
    for (int y = -1; y <= image.height(); ++y)
        for (int x = -1; x <= image.width(); ++x) {
            const bool inImage = image.rect().contains(x, y);
            const bool kept = inImage && (image.pixel(x, y) | 0xFF000000) != kTransparencyKey;
            ASSERT_EQ(region.contains(QPoint(x, y)), kept) << x << "," << y;
        }
    EXPECT_TRUE(regionOutsideKey(selectionFrameImage({20, 20}, false)).isEmpty());
}

TEST(OverlayShape, FrameControlsAndS1LinesStayTheRedGoes)
{
    const QSize window(100, 80);
    const QRect client(4, 4, 92, 72);
    const QRect label2(0, 0, 100, 10); // reaches past the client area: clipped to it
    const QRect xButton(70, -3, 27, 18);
    const QRect s1(8, 16, 30, 20);
    const QImage look = selectionFrameImage(s1.size(), true);
    const QRegion shape = overlayShape(window, client, {label2, xButton}, s1, look);

    const QRegion s1Kept = regionOutsideKey(look).translated(client.topLeft() + s1.topLeft());
    for (int y = 0; y < window.height(); ++y)
        for (int x = 0; x < window.width(); ++x) {
            const QPoint p(x, y);
            const QPoint inClient = p - client.topLeft();
            const bool expected = !client.contains(p) || label2.contains(inClient)
                || xButton.contains(inClient) || s1Kept.contains(p);
            ASSERT_EQ(shape.contains(p), expected) << x << "," << y;
        }

    // With hatch and border off, nothing of s1 is left.
    const QRegion grabbing
        = overlayShape(window, client, {label2, xButton}, s1, selectionFrameImage(s1.size(), false));
    EXPECT_TRUE((grabbing & s1.translated(client.topLeft())).isEmpty());
}
