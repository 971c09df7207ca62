#include "qstring_printer.h"
#include "transform/effects.h"
#include "transform_oracles.h"

#include "test_images.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <vector>

using quorvex::RotatePixels;
using quorvex::RotateStatus;
using testsupport::asymmetricPattern;
using testsupport::differenceBetween;

namespace {

constexpr QRgb kBackground = 0xFF010203u;
constexpr QRgb kWhite = 0xFFFFFFFFu;

// The asymmetric pattern with a white diagonal: white is a colour like any other and must never
// be taken for "no pixel".
QImage scratchPicture(int width, int height)
{
    QImage picture = asymmetricPattern(width, height);
    for (int i = 0; i < std::min(width, height); ++i)
        picture.setPixel(i, i, kWhite);
    return picture;
}

QImage backgroundSurface(QSize size)
{
    QImage surface(size, QImage::Format_RGB32);
    surface.fill(kBackground);
    return surface;
}

int countPixels(const QImage& image, QRgb colour)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixel(x, y) == colour;
    return count;
}

struct PolarCase {
    QSize scratch;
    QSize target;
    float degrees;
};

class PolarRotation : public ::testing::TestWithParam<PolarCase> { };

TEST_P(PolarRotation, PaintsWhatTheMappingGivesAndKeepsTheBackgroundElsewhere)
{
    const PolarCase c = GetParam();
    const QImage scratch = scratchPicture(c.scratch.width(), c.scratch.height());
    QImage target = backgroundSurface(c.target);
    float angle = c.degrees;

    ASSERT_EQ(RotatePixels(scratch, target, angle, kBackground, {}), RotateStatus::Done);

    EXPECT_EQ(target.size(), c.target);
    EXPECT_EQ(
        differenceBetween(target, oracle::polarRotation(scratch, backgroundSurface(c.target), c.degrees)),
        "");
    EXPECT_GT(countPixels(target, kWhite), 0);
}

INSTANTIATE_TEST_SUITE_P(Angles, PolarRotation,
    ::testing::Values(PolarCase{{9, 6}, {9, 6}, 30}, PolarCase{{10, 10}, {10, 10}, 30},
        PolarCase{{9, 6}, {9, 6}, -30}, PolarCase{{10, 10}, {10, 10}, 45}, PolarCase{{7, 11}, {7, 11}, 135},
        PolarCase{{31, 17}, {31, 17}, 200}, PolarCase{{9, 6}, {12, 5}, 30}, PolarCase{{6, 9}, {6, 9}, -90},
        PolarCase{{6, 9}, {6, 9}, 180}, PolarCase{{1, 1}, {1, 1}, 30},
        // Larger pictures, with many more samples close to a rounding boundary.
        PolarCase{{301, 211}, {301, 211}, 30}, PolarCase{{640, 480}, {640, 480}, -17}),
    [](const auto& info) {
        const PolarCase& c = info.param;
        return std::to_string(c.scratch.width()) + "x" + std::to_string(c.scratch.height()) + "_onto_"
            + std::to_string(c.target.width()) + "x" + std::to_string(c.target.height()) + "_at_"
            + (c.degrees < 0 ? "minus" : "") + std::to_string(int(std::abs(c.degrees)));
    });

TEST(PolarRotationAt30Degrees, LeavesCornersInTheBackgroundColour)
{
    QImage target = backgroundSurface({10, 10});
    float angle = 30;
    ASSERT_EQ(RotatePixels(scratchPicture(10, 10), target, angle, kBackground, {}), RotateStatus::Done);
    // The turned square no longer reaches the corners, so they keep the background.
    EXPECT_EQ(target.pixel(0, 0), kBackground);
    EXPECT_EQ(target.pixel(9, 9), kBackground);
    EXPECT_NE(target.pixel(5, 5), kBackground);
}

TEST(RotatePixels, TheAngleEndsInRadians)
{
    const struct {
        float degrees;
        float radians;
    } cases[] = {{30, float(3.14159265358979 / 180 * 30)}, {90, float(3.14159265358979 / 2)},
        {270, float(3.14159265358979 / 180 * 270)}, {-30, float(3.14159265358979 / 180 * -30)}, {0, 0}};
    for (const auto& c : cases) {
        QImage target = backgroundSurface({9, 6});
        float angle = c.degrees;
        ASSERT_EQ(RotatePixels(scratchPicture(9, 6), target, angle, kBackground, {}), RotateStatus::Done);
        EXPECT_EQ(angle, c.radians) << c.degrees;
    }
}

TEST(RotatePixels, RefreshesAfterEachColumnAndOnceAtTheEnd)
{
    const struct {
        QSize size;
        float degrees;
        int refreshes;
    } cases[] = {
        {{9, 6}, 30, 4 + 2}, // n = nearest(4.5) = 4: five columns, then the last refresh
        {{10, 10}, 30, 5 + 2},
        {{6, 11}, -45, 6 + 2}, // higher than wide: n = nearest(5.5) = 6
        {{1, 1}, 30, 0 + 2},
        {{9, 6}, 90, 1}, // an exact quarter turn is shown once, whole
        {{9, 6}, 270, 1},
    };
    for (const auto& c : cases) {
        QImage target = backgroundSurface(c.size);
        float angle = c.degrees;
        int refreshes = 0;
        ASSERT_EQ(RotatePixels(scratchPicture(c.size.width(), c.size.height()), target, angle, kBackground,
                      [&] { ++refreshes; }),
            RotateStatus::Done);
        EXPECT_EQ(refreshes, c.refreshes) << c.size.width() << "x" << c.size.height() << " at " << c.degrees;
    }
}

TEST(RotatePixels, EachRefreshShowsThePictureBuiltUpSoFar)
{
    QImage target = backgroundSurface({21, 15});
    float angle = 30;
    std::vector<int> painted;
    ASSERT_EQ(RotatePixels(scratchPicture(21, 15), target, angle, kBackground,
                  [&] { painted.push_back(21 * 15 - countPixels(target, kBackground)); }),
        RotateStatus::Done);
    ASSERT_EQ(painted.size(), 12u); // n = nearest(10.5) = 10: eleven columns and the last refresh
    EXPECT_GT(painted.front(), 0);
    EXPECT_LT(painted.front(), painted[painted.size() - 2]);
    EXPECT_TRUE(std::is_sorted(painted.begin(), painted.end()));
    EXPECT_EQ(painted.back(), 21 * 15 - countPixels(target, kBackground));
}

TEST(RotatePixels, CopiesKeptByTheRefreshStaySnapshots)
{
    const QImage scratch = scratchPicture(21, 15);
    QImage target = backgroundSurface({21, 15});
    float angle = 30;
    std::vector<QImage> kept; // shallow copies: painting on must not change them
    ASSERT_EQ(RotatePixels(scratch, target, angle, kBackground, [&] { kept.push_back(target); }),
        RotateStatus::Done);

    EXPECT_EQ(differenceBetween(target, oracle::polarRotation(scratch, backgroundSurface({21, 15}), 30)), "");
    ASSERT_EQ(kept.size(), 12u);
    EXPECT_GT(countPixels(kept.front(), kBackground), countPixels(target, kBackground));
    EXPECT_EQ(differenceBetween(kept.back(), target), "");
}

TEST(RotatePixels, EveryOtherAngleKeepsTheTargetSize)
{
    const float angles[] = {0, 30, -90, -270, 180, 360, 450, 89, 91, 269.5f, 32767, -32768};
    for (float degrees : angles) {
        QImage target = backgroundSurface({9, 6});
        float angle = degrees;
        ASSERT_EQ(RotatePixels(scratchPicture(9, 6), target, angle, kBackground, {}), RotateStatus::Done);
        EXPECT_EQ(target.size(), QSize(9, 6)) << degrees;
    }
}

TEST(RotatePixels, AngleWithoutAValueNeitherCrashesNorResizes)
{
    const float angles[] = {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
        -std::numeric_limits<float>::infinity(), std::numeric_limits<float>::max()};
    for (float degrees : angles) {
        QImage target = backgroundSurface({9, 6});
        float angle = degrees;
        EXPECT_EQ(RotatePixels(scratchPicture(9, 6), target, angle, kBackground, {}), RotateStatus::Done);
        EXPECT_EQ(target.size(), QSize(9, 6)) << degrees;
    }
}

TEST(RotatePixels, PicturesBeyondThe16BitRadiusAreRefusedBeforeAnythingIsPainted)
{
    const QSize sizes[] = {
        {46342, 1}, // n = 23171: the corner radius 32769 does not fit 16 bits
        {1, 46342},
    };
    for (QSize size : sizes) {
        const QImage scratch = scratchPicture(size.width(), size.height());
        QImage target = backgroundSurface(size);
        float angle = 30;
        int refreshes = 0;
        EXPECT_EQ(
            RotatePixels(scratch, target, angle, kBackground, [&] { ++refreshes; }), RotateStatus::TooLarge);
        EXPECT_EQ(refreshes, 0);
        EXPECT_EQ(countPixels(target, kBackground), size.width() * size.height());
    }
}

TEST(RotatePixels, ScratchBeyondThe16BitCentreIsRefused)
{
    // nearest(65536 / 2) = 32768 does not fit the 16-bit source centre.
    QImage target = backgroundSurface({10, 10});
    float angle = 30;
    EXPECT_EQ(RotatePixels(scratchPicture(65536, 1), target, angle, kBackground, {}), RotateStatus::TooLarge);
    EXPECT_EQ(countPixels(target, kBackground), 100);
}

TEST(RotatePixels, PicturesOfOtherFormatsArePaintedAsRgb32)
{
    const QImage scratch = scratchPicture(9, 6).convertToFormat(QImage::Format_RGB888);
    QImage target = backgroundSurface({9, 6}).convertToFormat(QImage::Format_RGB16);
    float angle = 30;
    ASSERT_EQ(RotatePixels(scratch, target, angle, kBackground, {}), RotateStatus::Done);
    EXPECT_EQ(target.format(), QImage::Format_RGB32);
    const QImage expected = oracle::polarRotation(scratch,
        backgroundSurface({9, 6}).convertToFormat(QImage::Format_RGB16).convertToFormat(QImage::Format_RGB32),
        30);
    EXPECT_EQ(differenceBetween(target, expected), "");
}

TEST(RotatePixels, EmptyPicturesGiveEmptyResults)
{
    QImage target;
    float angle = 30;
    EXPECT_EQ(RotatePixels(QImage(), target, angle, kBackground, {}), RotateStatus::Done);
    EXPECT_TRUE(target.isNull());

    QImage emptyTarget;
    angle = 90;
    EXPECT_EQ(RotatePixels(QImage(), emptyTarget, angle, kBackground, {}), RotateStatus::Done);
    EXPECT_TRUE(emptyTarget.isNull());
}

} // namespace
