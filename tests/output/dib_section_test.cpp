#include "address_space_cap.h"
#include "output/dib_section.h"
#include "output/numbered_error.h"
#include "test_images.h"

#include <climits>
#include <gtest/gtest.h>

using namespace quorvex;
using testsupport::asymmetricPattern;
using testsupport::differenceBetween;

TEST(DibSection, RowsAreBottomUpBgrPaddedToFourBytes)
{
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

    // The program only ever copies whole pictures; a block far off the picture copies nothing.
    dib.LoadPictureBlt(picture, INT_MAX, INT_MIN, -1, -1);
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
    {
        const testsupport::AddressSpaceCap cap(64 << 20);
        ASSERT_TRUE(cap.isActive());
        EXPECT_FALSE(dib.Create(30000, 20000)); // 1.8 GB
    }
    EXPECT_EQ(dib.DIBSectionBitsPtr(), nullptr);
}
