#include "transform/effects.h"
#include "transform_oracles.h"

#include "test_images.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <limits>
#include <vector>

using namespace quorvex;
using testsupport::asymmetricPattern;
using testsupport::differenceBetween;

namespace {

constexpr QRgb kBackground = 0xFF010203u;

// A white diagonal: white is a colour like any other, never "no pixel".
QImage scratchPicture(int width, int height)
{
    QImage picture = asymmetricPattern(width, height);
    for (int i = 0; i < std::min(width, height); ++i)
        picture.setPixel(i, i, 0xFFFFFFFFu);
    return picture;
}

QImage backgroundSurface(QSize size)
{
    QImage surface(size, QImage::Format_RGB32);
    surface.fill(kBackground);
    return surface;
}

// RotatePixels onto a background surface of `targetSize`; counts the refreshes.
QImage rotatePixels(const QImage& scratch, QSize targetSize, float degrees, int* refreshes = nullptr)
{
    QImage target = backgroundSurface(targetSize);
    int count = 0;
    EXPECT_EQ(RotatePixels(scratch, target, degrees, kBackground, [&] { ++count; }), RotateStatus::Done);
    if (refreshes)
        *refreshes = count;
    return target;
}

QString differenceFromPolar(const QImage& actual, const QImage& scratch, QSize target, float degrees)
{
    return differenceBetween(actual, oracle::polarRotation(scratch, backgroundSurface(target), degrees));
}

} // namespace

TEST(RotatePixels, OtherAnglesPaintWhatThePolarMappingGivesAndKeepTheBackgroundElsewhere)
{
    const struct {
        QSize scratch;
        QSize target;
        float degrees;
    } cases[] = {{{9, 6}, {9, 6}, 30}, {{10, 10}, {10, 10}, 30}, {{9, 6}, {9, 6}, -30},
        {{10, 10}, {10, 10}, 45}, {{7, 11}, {7, 11}, 135}, {{31, 17}, {31, 17}, 200}, {{9, 6}, {12, 5}, 30},
        {{6, 9}, {6, 9}, -90}, {{6, 9}, {6, 9}, 180}, {{1, 1}, {1, 1}, 30},
        // Many more samples close to a rounding boundary.
        {{301, 211}, {301, 211}, 30}, {{640, 480}, {640, 480}, -17}};
    for (const auto& c : cases) {
        const QImage scratch = scratchPicture(c.scratch.width(), c.scratch.height());
        EXPECT_EQ(
            differenceFromPolar(rotatePixels(scratch, c.target, c.degrees), scratch, c.target, c.degrees), "")
            << c.scratch.width() << "x" << c.scratch.height() << " onto " << c.target.width() << "x"
            << c.target.height() << " at " << c.degrees;
    }
}

TEST(RotatePixels, NinetyAndTwoHundredSeventyAreExactQuarterTurnsShownOnce)
{
    const QImage picture = asymmetricPattern(9, 6);
    int refreshes = 0;
    EXPECT_EQ(differenceBetween(
                  rotatePixels(picture, {9, 6}, 90, &refreshes), oracle::turnedCounterClockwise(picture)),
        "");
    EXPECT_EQ(refreshes, 1);
    EXPECT_EQ(differenceBetween(rotatePixels(picture, {9, 6}, 270), oracle::turnedClockwise(picture)), "");

    // On squares of side 4k + 1 the rounded centre is the true centre pixel, so the polar mapping
    // turns the grid exactly; the quarter turns must go the same way.
    for (int side : {1, 5, 9, 13, 25})
        for (float degrees : {90.0f, 270.0f}) {
            const QImage square = asymmetricPattern(side, side);
            EXPECT_EQ(differenceFromPolar(
                          rotatePixels(square, square.size(), degrees), square, square.size(), degrees),
                "")
                << side << " at " << degrees;
        }

    // A target of another size is exchanged and filled from the corner.
    QImage expected = backgroundSurface({5, 12});
    const QImage turned = oracle::turnedClockwise(picture);
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 5; ++x)
            expected.setPixel(x, y, turned.pixel(x, y));
    EXPECT_EQ(differenceBetween(rotatePixels(picture, {12, 5}, 270), expected), "");
}

TEST(RotatePixels, OddAnglesKeepTheTargetSize)
{
    for (float degrees : {-270.0f, 269.5f, std::numeric_limits<float>::quiet_NaN(),
             std::numeric_limits<float>::infinity(), std::numeric_limits<float>::max()})
        EXPECT_EQ(rotatePixels(scratchPicture(9, 6), {9, 6}, degrees).size(), QSize(9, 6)) << degrees;
}

TEST(RotatePicture, TurnsOntoAnOpaqueBackgroundShowingProgressOrGivesNothing)
{
    const QImage surface = asymmetricPattern(21, 15);
    std::vector<QImage> shown;
    auto show = [&](const QImage& soFar) { shown.push_back(soFar.copy()); };
    const auto quarter = RotatePicture(surface, kBackground, 270, show);
    ASSERT_TRUE(quarter.ok());
    EXPECT_EQ(differenceBetween(quarter.surface, oracle::turnedClockwise(surface)), "");
    EXPECT_EQ(shown.size(), 1u);

    shown.clear();
    const auto polar = RotatePicture(surface, 0x00010203u, 30, show);
    ASSERT_TRUE(polar.ok());
    EXPECT_EQ(differenceFromPolar(polar.surface, surface, {21, 15}, 30), "");
    EXPECT_EQ(polar.surface.pixel(0, 0), kBackground); // made opaque
    // Each refresh shows the picture so far: n = 10, eleven columns and the last refresh.
    ASSERT_EQ(shown.size(), 12u);
    std::vector<int> background;
    for (const QImage& snapshot : shown)
        background.push_back(testsupport::countPixels(snapshot, kBackground));
    EXPECT_LT(background.front(), 21 * 15);
    EXPECT_GT(background.front(), background[10]);
    EXPECT_TRUE(std::is_sorted(background.rbegin(), background.rend()));
    EXPECT_EQ(differenceBetween(shown.back(), polar.surface), "");
}
