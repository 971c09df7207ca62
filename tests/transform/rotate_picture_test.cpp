#include "qstring_printer.h"
#include "transform/effects.h"
#include "transform_oracles.h"

#include "test_images.h"

#include <gtest/gtest.h>
#include <vector>

using quorvex::RotatePicture;
using quorvex::RotatePixels;
using quorvex::RotateStatus;
using testsupport::asymmetricPattern;
using testsupport::differenceBetween;

namespace {

constexpr QRgb kBackground = 0xFF102030u;

QImage backgroundSurface(QSize size)
{
    QImage surface(size, QImage::Format_RGB32);
    surface.fill(kBackground);
    return surface;
}

// Sizes of the worked examples (300 x 200, 200 x 200, 201 x 201), single rows and columns, odd and
// even sides, and one larger than a tile with ragged edges.
const QSize kSizes[]
    = {{1, 1}, {1, 7}, {7, 1}, {9, 7}, {10, 10}, {9, 6}, {131, 70}, {300, 200}, {200, 200}, {201, 201}};

class QuarterTurnByAngle : public ::testing::TestWithParam<QSize> {
protected:
    QImage picture() const { return asymmetricPattern(GetParam().width(), GetParam().height()); }

    QImage turnedBy(const QImage& scratch, float degrees) const
    {
        QImage target = backgroundSurface(scratch.size());
        float angle = degrees;
        EXPECT_EQ(RotatePixels(scratch, target, angle, kBackground, {}), RotateStatus::Done);
        return target;
    }
};

TEST_P(QuarterTurnByAngle, NinetyTurnsCounterClockwiseWithWidthAndHeightExchanged)
{
    EXPECT_EQ(differenceBetween(turnedBy(picture(), 90), oracle::turnedCounterClockwise(picture())), "");
}

TEST_P(QuarterTurnByAngle, TwoHundredSeventyTurnsClockwiseWithWidthAndHeightExchanged)
{
    EXPECT_EQ(differenceBetween(turnedBy(picture(), 270), oracle::turnedClockwise(picture())), "");
}

TEST_P(QuarterTurnByAngle, NinetyThenTwoHundredSeventyGivesThePictureBack)
{
    EXPECT_EQ(differenceBetween(turnedBy(turnedBy(picture(), 90), 270), picture()), "");
    EXPECT_EQ(differenceBetween(turnedBy(turnedBy(picture(), 270), 90), picture()), "");
}

INSTANTIATE_TEST_SUITE_P(Sizes, QuarterTurnByAngle, ::testing::ValuesIn(kSizes), [](const auto& info) {
    return std::to_string(info.param.width()) + "x" + std::to_string(info.param.height());
});

TEST(QuarterTurnByAngle, AgreesWithThePolarMappingWhereThatIsCentred)
{
    // On squares of side 4k + 1 the rounded centre, nearest(side / 2), is the true centre pixel, so
    // the polar mapping turns the grid exactly; the quarter turns must go the same way.
    for (int side : {1, 5, 9, 13, 25}) {
        const QImage picture = asymmetricPattern(side, side);
        for (float degrees : {90.0f, 270.0f}) {
            QImage target = backgroundSurface(picture.size());
            float angle = degrees;
            ASSERT_EQ(RotatePixels(picture, target, angle, kBackground, {}), RotateStatus::Done);
            EXPECT_EQ(differenceBetween(
                          target, oracle::polarRotation(picture, backgroundSurface(picture.size()), degrees)),
                "")
                << side << " at " << degrees;
        }
    }
}

TEST(QuarterTurnByAngle, ATargetOfAnotherSizeIsExchangedAndFilledFromTheCorner)
{
    const QImage scratch = asymmetricPattern(9, 6); // turns into 6 x 9
    QImage target = backgroundSurface({12, 5}); // becomes 5 x 12
    float angle = 270;
    ASSERT_EQ(RotatePixels(scratch, target, angle, kBackground, {}), RotateStatus::Done);

    ASSERT_EQ(target.size(), QSize(5, 12));
    const QImage turned = oracle::turnedClockwise(scratch);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(target.pixel(x, y), y < 9 ? turned.pixel(x, y) : kBackground) << x << "," << y;
}

TEST(RotatePicture, QuarterTurnsGiveTheExactlyTurnedSurface)
{
    const QImage surface = asymmetricPattern(300, 200);
    int progress = 0;
    const auto clockwise = RotatePicture(surface, kBackground, 270, [&](const QImage&) { ++progress; });
    ASSERT_TRUE(clockwise.ok());
    EXPECT_EQ(differenceBetween(clockwise.surface, oracle::turnedClockwise(surface)), "");
    EXPECT_EQ(progress, 1);

    const auto counterClockwise = RotatePicture(surface, kBackground, 90, {});
    ASSERT_TRUE(counterClockwise.ok());
    EXPECT_EQ(differenceBetween(counterClockwise.surface, oracle::turnedCounterClockwise(surface)), "");
}

TEST(RotatePicture, OtherAnglesPaintOntoTheBackgroundColourShowingEachColumn)
{
    const QImage surface = asymmetricPattern(21, 15);
    std::vector<QImage> shown;
    const auto result = RotatePicture(
        surface, kBackground, 30, [&](const QImage& soFar) { shown.push_back(soFar.copy()); });

    ASSERT_TRUE(result.ok());
    EXPECT_EQ(
        differenceBetween(result.surface, oracle::polarRotation(surface, backgroundSurface({21, 15}), 30)),
        "");
    ASSERT_EQ(shown.size(), 12u); // n = 10: eleven columns and the last refresh
    EXPECT_NE(differenceBetween(shown.front(), result.surface), "");
    EXPECT_EQ(differenceBetween(shown.back(), result.surface), "");
}

TEST(RotatePicture, TheBackgroundColourIsMadeOpaque)
{
    const auto result = RotatePicture(asymmetricPattern(10, 10), 0x00102030u, 45, {});
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.surface.pixel(0, 0), 0xFF102030u);
}

TEST(RotatePicture, LeavesTheSurfaceItWasGivenUntouched)
{
    const QImage surface = asymmetricPattern(12, 8);
    const QImage before = surface.copy();
    for (qint16 degrees : {qint16(30), qint16(90), qint16(270)})
        (void)RotatePicture(surface, kBackground, degrees, {});
    EXPECT_EQ(differenceBetween(surface, before), "");
}

TEST(RotatePicture, SurfacesOfOtherFormatsAreTurnedAsRgb32)
{
    const QImage surface = asymmetricPattern(7, 5).convertToFormat(QImage::Format_RGB888);
    const auto result = RotatePicture(surface, kBackground, 270, {});
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.surface.format(), QImage::Format_RGB32);
    EXPECT_EQ(differenceBetween(result.surface, oracle::turnedClockwise(surface)), "");
}

TEST(RotatePicture, NoPictureGivesNoPictureAndNoError)
{
    const auto result = RotatePicture(QImage(), kBackground, 270, {});
    EXPECT_TRUE(result.ok());
    EXPECT_TRUE(result.surface.isNull());
}

TEST(RotatePicture, AFailedTurnGivesNoSurfaceAndTheErrMessage)
{
    int progress = 0;
    const auto result
        = RotatePicture(asymmetricPattern(46342, 1), kBackground, 30, [&](const QImage&) { ++progress; });
    EXPECT_FALSE(result.ok());
    EXPECT_EQ(result.status, RotateStatus::TooLarge);
    EXPECT_TRUE(result.surface.isNull());
    EXPECT_EQ(progress, 0);

    const quorvex::Message message = quorvex::rotateErrorMessage();
    EXPECT_EQ(message.text, "Err");
    EXPECT_EQ(message.caption, "Quorvex7");
    EXPECT_EQ(message.icon, quorvex::MessageIcon::None);
}

} // namespace
