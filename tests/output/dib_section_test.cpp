#include "output/dib_section.h"
#include "output/numbered_error.h"

#include "resource_limit.h"
#include "test_images.h"

#include <climits>
#include <gtest/gtest.h>

using namespace quorvex;
using testsupport::asymmetricPattern;
using testsupport::differenceBetween;

// The rows' layout is checked through the BMP files, which are the section's bytes read back.
TEST(DibSection, SizesItCannotHoldLeaveItEmptyAndABlockOffThePictureCopiesNothing)
{
    // Rows are stored bottom-up: the offset of a tall picture's first row passes the int range.
    EXPECT_EQ(bottomUpOffset(0, 0, 100000, 30000), qsizetype(99999) * 30000);
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
        const testsupport::ResourceLimit cap(
            RLIMIT_AS, testsupport::ResourceLimit::addressSpaceInUsePlus(64 << 20));
        ASSERT_TRUE(cap.isActive());
        EXPECT_FALSE(dib.Create(30000, 20000)); // 1.8 GB
    }
    EXPECT_EQ(dib.DIBSectionBitsPtr(), nullptr);

    const QImage picture = asymmetricPattern(5, 3);
    dib.CreateFromPicture(picture);
    dib.LoadPictureBlt(picture, INT_MAX, INT_MIN, -1, -1); // the program only ever copies whole pictures
    EXPECT_EQ(differenceBetween(dib.toImage(), picture), QString());
}
