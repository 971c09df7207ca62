#include "output/dib_section.h"
#include "output/numbered_error.h"
#include "test_images.h"

#include <climits>
#include <gtest/gtest.h>
#include <sys/resource.h>

using namespace quorvex;
using testsupport::asymmetricPattern;
using testsupport::differenceBetween;

namespace {

QRgb pixelAt(const cDIBSection& dib, int x, int y)
{
    const uchar* p = dib.DIBSectionBitsPtr() + bottomUpOffset(x, y, dib.Height(), dib.BytesPerScanLine());
    return qRgb(p[2], p[1], p[0]);
}

void expectEmpty(const cDIBSection& dib, int width, int height)
{
    EXPECT_EQ(dib.hDib(), 0u);
    EXPECT_EQ(dib.hDC(), 0u);
    EXPECT_EQ(dib.DIBSectionBitsPtr(), nullptr);
    EXPECT_EQ(dib.Width(), width); // the request is still reported
    EXPECT_EQ(dib.Height(), height);
}

QImage filled(int width, int height, QRgb colour)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

} // namespace

TEST(DibLayout, RowsOfThreeBytesAPixelRoundUpToFourAndCountFromTheBottom)
{
    const struct {
        int width;
        int stride;
    } strides[] = {{1, 4}, {2, 8}, {3, 12}, {4, 12}, {5, 16}, {0, 0}, {1024, 3072}};
    for (const auto& c : strides) {
        EXPECT_EQ(dibStride(c.width), c.stride) << c.width;
        cDIBSection dib;
        if (c.width > 0) {
            ASSERT_TRUE(dib.Create(c.width, 2));
            EXPECT_EQ(dib.bitmapInfo().biSizeImage, quint32(2 * c.stride));
            for (int i = 0; i < 2 * c.stride; ++i)
                ASSERT_EQ(dib.DIBSectionBitsPtr()[i], 0) << "not zeroed at " << i;
        }
    }

    const struct {
        int x, y, height, stride;
        qsizetype offset;
    } offsets[] = {{0, 0, 3, 8, 16}, {0, 2, 3, 8, 0}, {1, 1, 3, 8, 11}, {4, 0, 1, 16, 12},
        {0, 0, 100000, 30000, qsizetype(99999) * 30000}};
    for (const auto& c : offsets)
        EXPECT_EQ(bottomUpOffset(c.x, c.y, c.height, c.stride), c.offset) << c.x << "," << c.y;
}

TEST(DibSection, SizesItCannotHoldLeaveItEmpty)
{
    // A stride or image size beyond 32 bits is the Overflow error.
    for (const QSize size :
        {QSize(715827882, 1), QSize(INT_MAX, 1), QSize(1000000, 1000), QSize(50000, 50000)}) {
        cDIBSection dib;
        try {
            dib.Create(size.width(), size.height());
            ADD_FAILURE() << size.width() << "x" << size.height() << " did not overflow";
        } catch (const NumberedError& error) {
            EXPECT_EQ(error.number(), kOverflowError);
            EXPECT_EQ(error.description(), QStringLiteral("Overflow"));
        }
        expectEmpty(dib, size.width(), size.height());
    }

    // No area is refused, and the pixels held before are gone.
    for (const QSize size : {QSize(0, 5), QSize(5, 0), QSize(-4, 3), QSize(3, -4)}) {
        cDIBSection dib;
        ASSERT_TRUE(dib.Create(2, 2));
        EXPECT_FALSE(dib.Create(size.width(), size.height()));
        expectEmpty(dib, size.width(), size.height());
        quintptr handle = 123;
        EXPECT_FALSE(dib.CreateDIB(size.width(), size.height(), handle));
        EXPECT_EQ(handle, 0u);
    }

    // Too little memory is a refusal, not a crash.
    rlimit saved{};
    ::getrlimit(RLIMIT_AS, &saved);
    rlimit tight = saved;
    tight.rlim_cur = rlim_t(1) << 30;
    ::setrlimit(RLIMIT_AS, &tight);
    cDIBSection dib;
    const bool created = dib.Create(30000, 20000); // 1.8 GB
    ::setrlimit(RLIMIT_AS, &saved);
    EXPECT_FALSE(created);
    expectEmpty(dib, 30000, 20000);
}

TEST(DibSection, CreateFromPictureStoresRowsBottomUpAsBgr)
{
    // Widths past 16 run through the sixteen-pixel path as well as the pixel-by-pixel tail.
    for (const int width : {1, 2, 3, 4, 5, 16, 37}) {
        const QImage picture = asymmetricPattern(width, 3);
        cDIBSection dib;
        dib.CreateFromPicture(picture);
        ASSERT_EQ(dib.Width(), width);
        ASSERT_EQ(dib.Height(), 3);
        // The first bytes in memory are the bottom row's first pixel, blue first.
        const QRgb bottomLeft = picture.pixel(0, 2);
        EXPECT_EQ(dib.DIBSectionBitsPtr()[0], qBlue(bottomLeft));
        EXPECT_EQ(dib.DIBSectionBitsPtr()[1], qGreen(bottomLeft));
        EXPECT_EQ(dib.DIBSectionBitsPtr()[2], qRed(bottomLeft));
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < width; ++x)
                EXPECT_EQ(pixelAt(dib, x, y), picture.pixel(x, y) | 0xFF000000)
                    << width << ": " << x << "," << y;
    }

    const QImage picture = asymmetricPattern(13, 7);
    for (const auto format :
        {QImage::Format_RGB888, QImage::Format_ARGB32_Premultiplied, QImage::Format_RGB16}) {
        const QImage converted = picture.convertToFormat(format);
        cDIBSection dib;
        dib.CreateFromPicture(converted);
        EXPECT_EQ(
            differenceBetween(dib.toImage(), converted.convertToFormat(QImage::Format_RGB32)), QString())
            << format;
    }

    cDIBSection dib;
    ASSERT_TRUE(dib.Create(4, 4));
    dib.CreateFromPicture(QImage());
    EXPECT_EQ(dib.DIBSectionBitsPtr(), nullptr);
    EXPECT_TRUE(dib.toImage().isNull());
}

TEST(DibSection, LoadPictureBltCopiesABlockToTheTopLeft)
{
    const QImage source = asymmetricPattern(10, 8);
    const struct {
        int left, top, width, height;
        QRect copied; // of the source; lands at (0, 0) shifted by what was clipped off
    } cases[] = {
        {0, 0, -1, -1, QRect(0, 0, 4, 3)},
        {2, 3, -1, -7, QRect(2, 3, 4, 3)},
        {5, 1, 2, 2, QRect(5, 1, 2, 2)},
        {8, 6, -1, -1, QRect(8, 6, 2, 2)}, // runs off the source's corner
        {-1, -2, -1, -1, QRect(0, 0, 3, 1)}, // starts before it
        {0, 0, 100, 100, QRect(0, 0, 4, 3)}, // larger than the section
        {INT_MAX, INT_MIN, INT_MAX, 5, QRect()}, // odd coordinates copy nothing
        {INT_MIN, 0, INT_MAX, INT_MAX, QRect()},
    };
    for (const auto& c : cases) {
        cDIBSection dib;
        ASSERT_TRUE(dib.Create(4, 3));
        dib.LoadPictureBlt(source, c.left, c.top, c.width, c.height);
        QImage expected = filled(4, 3, qRgb(0, 0, 0));
        const QPoint at = c.copied.topLeft() - QPoint(c.left, c.top);
        for (int y = 0; y < c.copied.height(); ++y)
            for (int x = 0; x < c.copied.width(); ++x)
                expected.setPixel(at.x() + x, at.y() + y, source.pixel(c.copied.x() + x, c.copied.y() + y));
        EXPECT_EQ(differenceBetween(dib.toImage(), expected), QString()) << c.left << "," << c.top;
    }

    cDIBSection empty; // nothing to copy into
    empty.LoadPictureBlt(source, 0, 0, -1, -1);
    EXPECT_EQ(empty.DIBSectionBitsPtr(), nullptr);
}

TEST(DibSection, PaintPictureDrawsUnscaledAtTheTarget)
{
    const QImage picture = asymmetricPattern(6, 5);
    cDIBSection dib;
    dib.CreateFromPicture(picture);
    const struct {
        int destLeft, destTop, width, height, srcLeft, srcTop;
        QRect drawn; // of the picture
    } cases[] = {
        {0, 0, -1, -1, 0, 0, QRect(0, 0, 6, 5)},
        {3, 2, -1, -5, 0, 0, QRect(0, 0, 6, 5)},
        {1, 1, 2, 3, 4, 1, QRect(4, 1, 2, 3)},
        {0, 0, 4, 4, 4, 3, QRect(4, 3, 2, 2)}, // clipped to the section
        {INT_MAX, INT_MAX, -1, -1, 0, 0, QRect()}, // odd coordinates draw nothing
        {0, 0, INT_MAX, INT_MAX, INT_MIN, INT_MIN, QRect()},
    };
    for (const auto& c : cases) {
        QImage canvas = filled(12, 10, qRgb(255, 255, 255));
        QPainter painter(&canvas);
        dib.PaintPicture(painter, c.destLeft, c.destTop, c.width, c.height, c.srcLeft, c.srcTop);
        cDIBSection().PaintPicture(painter, 0, 0, -1, -1, 0, 0); // an empty section draws nothing
        painter.end();
        QImage expected = filled(12, 10, qRgb(255, 255, 255));
        for (int y = 0; y < c.drawn.height(); ++y)
            for (int x = 0; x < c.drawn.width(); ++x)
                expected.setPixel(
                    c.destLeft + x, c.destTop + y, picture.pixel(c.drawn.x() + x, c.drawn.y() + y));
        EXPECT_EQ(differenceBetween(canvas, expected), QString()) << c.destLeft << "," << c.srcLeft;
    }
}
