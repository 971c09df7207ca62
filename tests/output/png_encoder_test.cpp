#include "output/dib_section.h"
#include "output/png_encoder.h"

#include "test_images.h"

#include <gtest/gtest.h>

using namespace quorvex;
using testsupport::asymmetricPattern;
using testsupport::differenceBetween;

namespace {

QImage decoded(const EncodedPng& png)
{
    QImage image;
    image.loadFromData(png.bytes.data(), int(png.bytes.size()), "PNG");
    return image;
}

} // namespace

TEST(PngEncoder, KeepsEveryPixelOfBothLayouts)
{
    const QImage picture = asymmetricPattern(37, 23); // odd width: rows of 3-byte pixels are not aligned
    const EncodedPng fromWords
        = encodePng({picture.constBits(), 37, 23, picture.bytesPerLine(), PixelLayout::Xrgb32});
    ASSERT_TRUE(fromWords.ok()) << fromWords.error;
    EXPECT_EQ(differenceBetween(decoded(fromWords), picture), "");

    cDIBSection dib; // bottom-up BGR rows: the last row in memory is the top one
    dib.CreateFromPicture(picture);
    const unsigned char* top = dib.DIBSectionBitsPtr() + (dib.Height() - 1) * dib.BytesPerScanLine();
    const EncodedPng fromDib = encodePng({top, 37, 23, -dib.BytesPerScanLine(), PixelLayout::Bgr24});
    ASSERT_TRUE(fromDib.ok()) << fromDib.error;
    EXPECT_EQ(differenceBetween(decoded(fromDib), picture), "");

    PngEncoder banded(37, 23, PixelLayout::Xrgb32);
    for (int y = 0; y < 23; y += 5)
        banded.addRows(picture.constScanLine(y), std::min(5, 23 - y), picture.bytesPerLine());
    EXPECT_EQ(banded.finish().bytes, fromWords.bytes);
}

TEST(PngEncoder, RefusesWhatIsNoPicture)
{
    const QImage picture = asymmetricPattern(4, 3);
    EXPECT_FALSE(encodePng({picture.constBits(), 0, 3, 16, PixelLayout::Xrgb32}).ok());
    EXPECT_FALSE(encodePng({picture.constBits(), 4, -1, 16, PixelLayout::Xrgb32}).ok());
    EXPECT_FALSE(encodePng({picture.constBits(), 4000000, 1, 16, PixelLayout::Xrgb32}).ok());

    PngEncoder tooMany(4, 2, PixelLayout::Xrgb32);
    tooMany.addRows(picture.constBits(), 3, 16);
    EXPECT_FALSE(tooMany.finish().ok());
    PngEncoder tooFew(4, 3, PixelLayout::Xrgb32);
    tooFew.addRows(picture.constBits(), 2, 16);
    const EncodedPng incomplete = tooFew.finish();
    EXPECT_FALSE(incomplete.ok());
    EXPECT_TRUE(incomplete.bytes.empty());
}
