#include "capture/overlay_shape.h"

#include "test_images.h"

#include <gtest/gtest.h>

using namespace quorvex;

namespace {

int countPixels(const QImage& image, QRgb colour)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += (image.pixel(x, y) | 0xFF000000) == colour;
    return count;
}

} // namespace

TEST(SelectionFrameLook, BorderHatchAndRedBackOnlyWhileOn)
{
    const QImage on = selectionFrameImage({40, 30}, true);
    ASSERT_EQ(on.size(), QSize(40, 30));
    ASSERT_EQ(on.format(), QImage::Format_RGB32);
    for (int x = 0; x < 40; ++x) {
        EXPECT_EQ(on.pixel(x, 0), qRgb(0, 0, 0)) << x;
        EXPECT_EQ(on.pixel(x, 29), qRgb(0, 0, 0)) << x;
    }
    for (int y = 0; y < 30; ++y) {
        EXPECT_EQ(on.pixel(0, y), qRgb(0, 0, 0)) << y;
        EXPECT_EQ(on.pixel(39, y), qRgb(0, 0, 0)) << y;
    }
    const int inside = 38 * 28;
    const int hatch = countPixels(on, kHatchColour);
    const int red = countPixels(on, kTransparencyKey);
    EXPECT_GT(hatch, inside / 8); // a diagonal cross every few pixels
    EXPECT_GT(red, inside / 2); // mostly see-through
    EXPECT_EQ(hatch + red, inside); // nothing else inside the border

    const QImage off = selectionFrameImage({40, 30}, false);
    EXPECT_EQ(countPixels(off, kTransparencyKey), 40 * 30);
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
    // A solid picture is one rectangle, not one per row.
    QImage solid(50, 40, QImage::Format_RGB32);
    solid.fill(Qt::gray);
    EXPECT_EQ(regionOutsideKey(solid).rectCount(), 1);
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
