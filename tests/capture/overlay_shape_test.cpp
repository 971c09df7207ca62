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

    // With hatch and border off, nothing of s1 is left.
    const QRegion grabbing
        = overlayShape(window, client, {label2, xButton}, s1, selectionFrameImage(s1.size(), false));
    EXPECT_TRUE((grabbing & s1.translated(client.topLeft())).isEmpty());
}
