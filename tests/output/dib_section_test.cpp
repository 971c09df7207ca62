#include "output/dib_section.h"
#include "output/numbered_error.h"
#include "test_images.h"

#include <climits>
#include <gtest/gtest.h>
#include <sys/resource.h>

using namespace quorvex;
using testsupport::asymmetricPattern;
using testsupport::differenceBetween;

TEST(DibSection, RowsAreBottomUpBgrPaddedToFourBytes)
{
    EXPECT_EQ(dibStride(5), 16);
    EXPECT_EQ(bottomUpOffset(0, 0, 100000, 30000), qsizetype(99999) * 30000);
    // 37 runs through the sixteen-pixel path and the pixel-by-pixel tail.
    const QImage picture = asymmetricPattern(37, 3);
    cDIBSection dib;
    dib.CreateFromPicture(picture);
    ASSERT_EQ(dib.bitmapInfo().biSizeImage, quint32(3 * 112));
    const QRgb bottomLeft = picture.pixel(0, 2);
    const uchar* bits = dib.DIBSectionBitsPtr();
    EXPECT_EQ(qRgb(bits[2], bits[1], bits[0]), bottomLeft);
    EXPECT_EQ(differenceBetween(dib.toImage(), picture), QString());
}

TEST(DibSection, SizesItCannotHoldLeaveItEmpty)
{
    cDIBSection dib;
    try {
        dib.Create(50000, 50000);
        ADD_FAILURE() << "did not overflow";
    } catch (const NumberedError& error) {
        EXPECT_EQ(error.number(), kOverflowError);
    }
    EXPECT_EQ(dib.DIBSectionBitsPtr(), nullptr);
    ASSERT_TRUE(dib.Create(2, 2));
    EXPECT_FALSE(dib.Create(-4, 3));
    EXPECT_EQ(dib.DIBSectionBitsPtr(), nullptr);

    // Too little memory is a refusal, not a crash.
    rlimit saved{};
    ::getrlimit(RLIMIT_AS, &saved);
    rlimit tight = saved;
    tight.rlim_cur = rlim_t(1) << 30;
    ::setrlimit(RLIMIT_AS, &tight);
    const bool created = dib.Create(30000, 20000); // 1.8 GB
    ::setrlimit(RLIMIT_AS, &saved);
    EXPECT_FALSE(created);
    EXPECT_EQ(dib.DIBSectionBitsPtr(), nullptr);
}

TEST(DibSection, LoadPictureBltCopiesTheClippedBlock)
{
    const QImage source = asymmetricPattern(10, 8);
    const struct {
        int left, top;
        QRect copied; // of the source; lands at (0, 0) shifted by what was clipped off
    } cases[] = {{2, 3, QRect(2, 3, 4, 3)}, {8, 6, QRect(8, 6, 2, 2)}, {-1, -2, QRect(0, 0, 3, 1)},
        {INT_MAX, INT_MIN, QRect()}};
    for (const auto& c : cases) {
        cDIBSection dib;
        ASSERT_TRUE(dib.Create(4, 3));
        dib.LoadPictureBlt(source, c.left, c.top, -1, -1);
        QImage expected(4, 3, QImage::Format_RGB32);
        expected.fill(Qt::black);
        // (an empty block has no place, and its far-off corner would overflow)
        const QPoint at = c.copied.isEmpty() ? QPoint() : c.copied.topLeft() - QPoint(c.left, c.top);
        for (int y = 0; y < c.copied.height(); ++y)
            for (int x = 0; x < c.copied.width(); ++x)
                expected.setPixel(at.x() + x, at.y() + y, source.pixel(c.copied.x() + x, c.copied.y() + y));
        EXPECT_EQ(differenceBetween(dib.toImage(), expected), QString()) << c.left << "," << c.top;
    }
}
