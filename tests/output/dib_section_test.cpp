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

void expectEmpty(const cDIBSection& dib)
{
    EXPECT_EQ(dib.hDib(), 0u);
    EXPECT_EQ(dib.hDC(), 0u);
    EXPECT_EQ(dib.DIBSectionBitsPtr(), nullptr);
}

} // namespace

TEST(DibLayout, StrideRoundsThreeBytesPerPixelUpToFour)
{
    const struct {
        int width;
        int stride;
    } cases[] = {{1, 4}, {2, 8}, {3, 12}, {4, 12}, {5, 16}, {0, 0}, {1024, 3072}};
    for (const auto& c : cases) {
        EXPECT_EQ(dibStride(c.width), c.stride) << c.width;
        cDIBSection dib;
        if (c.width > 0) {
            ASSERT_TRUE(dib.Create(c.width, 2));
            EXPECT_EQ(dib.BytesPerScanLine(), c.stride);
            EXPECT_EQ(dib.bitmapInfo().biSizeImage, quint32(2 * c.stride));
        }
    }
}

TEST(DibLayout, PixelOffsetsCountRowsFromTheBottom)
{
    const struct {
        int x, y, height, stride;
        qsizetype offset;
    } cases[] = {{0, 0, 3, 8, 16}, {0, 2, 3, 8, 0}, {1, 2, 3, 8, 3}, {1, 1, 3, 8, 11}, {4, 0, 1, 16, 12},
        {0, 0, 100000, 30000, qsizetype(99999) * 30000}};
    for (const auto& c : cases)
        EXPECT_EQ(bottomUpOffset(c.x, c.y, c.height, c.stride), c.offset) << c.x << "," << c.y;
}

TEST(DibLayout, StrideOrImageSizeBeyond32BitsIsAnOverflowError)
{
    const struct {
        int width, height;
    } cases[] = {{715827882, 1}, {INT_MAX, 1}, {1000000, 1000}, {50000, 50000}};
    for (const auto& c : cases) {
        cDIBSection dib;
        try {
            dib.Create(c.width, c.height);
            ADD_FAILURE() << c.width << "x" << c.height << " did not overflow";
        } catch (const NumberedError& error) {
            EXPECT_EQ(error.number(), kOverflowError);
            EXPECT_EQ(error.description(), QStringLiteral("Overflow"));
        }
        expectEmpty(dib);
        EXPECT_EQ(dib.Width(), c.width);
        EXPECT_EQ(dib.Height(), c.height);
    }
}

TEST(DibSection, CreateFillsTheHeaderAndHoldsZeroedPixels)
{
    cDIBSection dib;
    expectEmpty(dib);
    ASSERT_TRUE(dib.Create(3, 2));
    EXPECT_NE(dib.hDib(), 0u);
    EXPECT_NE(dib.hDC(), 0u);
    ASSERT_NE(dib.DIBSectionBitsPtr(), nullptr);
    EXPECT_EQ(reinterpret_cast<quintptr>(dib.DIBSectionBitsPtr()) % 4, 0u);
    const BitmapInfoHeader& h = dib.bitmapInfo();
    EXPECT_EQ(h.biSize, 40u);
    EXPECT_EQ(h.biWidth, 3);
    EXPECT_EQ(h.biHeight, 2);
    EXPECT_EQ(h.biPlanes, 1);
    EXPECT_EQ(h.biBitCount, 24);
    EXPECT_EQ(h.biCompression, 0u);
    EXPECT_EQ(h.biSizeImage, 24u);
    EXPECT_EQ(h.biXPelsPerMeter, 0);
    for (int i = 0; i < 24; ++i)
        EXPECT_EQ(dib.DIBSectionBitsPtr()[i], 0) << i;
}

TEST(DibSection, ClearUpEmptiesButKeepsTheLastSize)
{
    cDIBSection dib;
    dib.ClearUp();
    dib.ClearUp();
    expectEmpty(dib);
    ASSERT_TRUE(dib.Create(7, 5));
    dib.ClearUp();
    expectEmpty(dib);
    EXPECT_EQ(dib.Width(), 7);
    EXPECT_EQ(dib.Height(), 5);
    dib.ClearUp();
    expectEmpty(dib);
}

TEST(DibSection, RefusedSizesLeaveItEmptyReportingTheRequest)
{
    const struct {
        int width, height;
    } cases[] = {{0, 5}, {5, 0}, {0, 0}, {-4, 3}, {3, -4}};
    for (const auto& c : cases) {
        cDIBSection dib;
        ASSERT_TRUE(dib.Create(2, 2));
        EXPECT_FALSE(dib.Create(c.width, c.height));
        expectEmpty(dib);
        EXPECT_EQ(dib.Width(), c.width);
        EXPECT_EQ(dib.Height(), c.height);
        quintptr handle = 123;
        EXPECT_FALSE(dib.CreateDIB(c.width, c.height, handle));
        EXPECT_EQ(handle, 0u);
    }
}

TEST(DibSection, TooLittleMemoryIsARefusalNotACrash)
{
    rlimit saved{};
    ::getrlimit(RLIMIT_AS, &saved);
    rlimit tight = saved;
    tight.rlim_cur = rlim_t(1) << 30;
    ::setrlimit(RLIMIT_AS, &tight);
    cDIBSection dib;
    const bool created = dib.Create(30000, 20000); // 1.8 GB
    ::setrlimit(RLIMIT_AS, &saved);
    EXPECT_FALSE(created);
    expectEmpty(dib);
    EXPECT_EQ(dib.Width(), 30000);
    EXPECT_EQ(dib.Height(), 20000);
}

TEST(DibSection, SecondCreateReplacesTheFirst)
{
    cDIBSection dib;
    ASSERT_TRUE(dib.Create(2, 2));
    dib.DIBSectionBitsPtr()[0] = 0xAB;
    ASSERT_TRUE(dib.Create(9, 4));
    EXPECT_EQ(dib.Width(), 9);
    EXPECT_EQ(dib.BytesPerScanLine(), 28);
    EXPECT_EQ(dib.DIBSectionBitsPtr()[0], 0);
    EXPECT_EQ(dib.hDib(), reinterpret_cast<quintptr>(dib.DIBSectionBitsPtr()));
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
        EXPECT_EQ(differenceBetween(dib.toImage(), picture), QString());
    }
}

TEST(DibSection, CreateFromPictureConvertsOtherFormats)
{
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
}

TEST(DibSection, CreateFromANullPictureLeavesItEmpty)
{
    cDIBSection dib;
    ASSERT_TRUE(dib.Create(4, 4));
    dib.CreateFromPicture(QImage());
    expectEmpty(dib);
    EXPECT_TRUE(dib.toImage().isNull());
}

TEST(DibSection, LoadPictureBltCopiesABlockToTheTopLeft)
{
    const QImage source = asymmetricPattern(10, 8);
    const struct {
        int left, top, width, height;
        QRect copied; // of the source; lands at (0, 0) shifted by what was clipped off
    } cases[] = {
        {0, 0, -1, -1, QRect(0, 0, 4, 3)}, {2, 3, -1, -7, QRect(2, 3, 4, 3)}, {5, 1, 2, 2, QRect(5, 1, 2, 2)},
        {8, 6, -1, -1, QRect(8, 6, 2, 2)}, // runs off the source's corner
        {-1, -2, -1, -1, QRect(0, 0, 3, 1)}, // starts before it
        {0, 0, 100, 100, QRect(0, 0, 4, 3)}, // larger than the section
    };
    for (const auto& c : cases) {
        cDIBSection dib;
        ASSERT_TRUE(dib.Create(4, 3));
        dib.LoadPictureBlt(source, c.left, c.top, c.width, c.height);
        QImage expected(4, 3, QImage::Format_RGB32);
        expected.fill(Qt::black);
        const QPoint at = c.copied.topLeft() - QPoint(c.left, c.top);
        for (int y = 0; y < c.copied.height(); ++y)
            for (int x = 0; x < c.copied.width(); ++x)
                expected.setPixel(at.x() + x, at.y() + y, source.pixel(c.copied.x() + x, c.copied.y() + y));
        EXPECT_EQ(differenceBetween(dib.toImage(), expected), QString()) << c.left << "," << c.top;
    }
}

TEST(DibSection, OddCoordinatesCopyNothingAndDoNotCrash)
{
    const QImage source = asymmetricPattern(10, 8);
    cDIBSection dib;
    ASSERT_TRUE(dib.Create(4, 3));
    dib.LoadPictureBlt(source, INT_MAX, INT_MIN, INT_MAX, 5);
    dib.LoadPictureBlt(source, INT_MIN, 0, INT_MAX, INT_MAX);
    QImage black(4, 3, QImage::Format_RGB32);
    black.fill(Qt::black);
    EXPECT_EQ(differenceBetween(dib.toImage(), black), QString());

    QImage canvas(5, 5, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    QImage untouched = canvas;
    untouched.detach();
    QPainter painter(&canvas);
    dib.PaintPicture(painter, INT_MAX, INT_MAX, -1, -1, 0, 0);
    dib.PaintPicture(painter, 0, 0, INT_MAX, INT_MAX, INT_MIN, INT_MIN);
    painter.end();
    EXPECT_EQ(differenceBetween(canvas, untouched), QString());
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
        {0, 0, -1, -1, 0, 0, QRect(0, 0, 6, 5)}, {3, 2, -1, -5, 0, 0, QRect(0, 0, 6, 5)},
        {1, 1, 2, 3, 4, 1, QRect(4, 1, 2, 3)},
        {0, 0, 4, 4, 4, 3, QRect(4, 3, 2, 2)}, // clipped to the section
    };
    for (const auto& c : cases) {
        QImage canvas(12, 10, QImage::Format_RGB32);
        canvas.fill(Qt::white);
        QPainter painter(&canvas);
        dib.PaintPicture(painter, c.destLeft, c.destTop, c.width, c.height, c.srcLeft, c.srcTop);
        painter.end();
        QImage expected(12, 10, QImage::Format_RGB32);
        expected.fill(Qt::white);
        for (int y = 0; y < c.drawn.height(); ++y)
            for (int x = 0; x < c.drawn.width(); ++x)
                expected.setPixel(
                    c.destLeft + x, c.destTop + y, picture.pixel(c.drawn.x() + x, c.drawn.y() + y));
        EXPECT_EQ(differenceBetween(canvas, expected), QString()) << c.destLeft << "," << c.srcLeft;
    }
}

TEST(DibSection, RasterOperationsCombineWithWhatIsThere)
{
    QImage first(2, 1, QImage::Format_RGB32);
    first.setPixel(0, 0, qRgb(0xF0, 0x0F, 0x33));
    first.setPixel(1, 0, qRgb(0x12, 0x34, 0x56));
    QImage second(2, 1, QImage::Format_RGB32);
    second.fill(qRgb(0xFF, 0x00, 0x0F));
    cDIBSection dib;
    dib.CreateFromPicture(first);
    dib.LoadPictureBlt(second, 0, 0, -1, -1, QPainter::RasterOp_SourceXorDestination);
    EXPECT_EQ(dib.toImage().pixel(0, 0), qRgb(0x0F, 0x0F, 0x3C));
    EXPECT_EQ(dib.toImage().pixel(1, 0), qRgb(0xED, 0x34, 0x59));

    QImage canvas = second.copy();
    QPainter painter(&canvas);
    dib.PaintPicture(painter, 0, 0, -1, -1, 0, 0, QPainter::RasterOp_SourceXorDestination);
    painter.end();
    EXPECT_EQ(differenceBetween(canvas, first), QString()); // xor twice gives back the first
}

TEST(DibSection, AnEmptySectionDrawsNothing)
{
    cDIBSection dib;
    dib.LoadPictureBlt(asymmetricPattern(3, 3), 0, 0, -1, -1);
    QImage canvas(3, 3, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    QPainter painter(&canvas);
    dib.PaintPicture(painter, 0, 0, -1, -1, 0, 0);
    painter.end();
    EXPECT_EQ(canvas.pixel(1, 1), qRgb(255, 255, 255));
    expectEmpty(dib);
}
