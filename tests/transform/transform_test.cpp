#include "transform/effects.h"
#include "transform/mirror.h"
#include "transform/quarter_turn.h"
#include "transform_oracles.h"

#include "resource_limit.h"
#include "test_images.h"

#include <QPainter>
#include <QTransform>
#include <algorithm>
#include <gtest/gtest.h>
#include <limits>
#include <string>
#include <vector>

using namespace quorvex;
using testsupport::asymmetricPattern;
using testsupport::differenceBetween;
using testsupport::ResourceLimit;

namespace {

using Mapping = QImage (*)(const QImage&);

const struct {
    const char* name;
    Mapping transform;
    Mapping oracle;
} kMappings[] = {
    {"mirrored horizontally", [](const QImage& p) { return quorvex::mirrored(p, MirrorKind::Horizontal); },
        [](const QImage& p) { return oracle::mirrored(p, oracle::Mirror::Horizontal); }},
    {"mirrored vertically", [](const QImage& p) { return quorvex::mirrored(p, MirrorKind::Vertical); },
        [](const QImage& p) { return oracle::mirrored(p, oracle::Mirror::Vertical); }},
    {"half turn", [](const QImage& p) { return quorvex::mirrored(p, MirrorKind::HalfTurn); },
        [](const QImage& p) { return oracle::mirrored(p, oracle::Mirror::HalfTurn); }},
    {"clockwise", quorvex::turnedClockwise, oracle::turnedClockwise},
    {"counter-clockwise", quorvex::turnedCounterClockwise, oracle::turnedCounterClockwise},
};

// Every mirror and quarter turn of `picture` against its pixel mapping of `asSeen`.
void expectEveryMappingLikeTheOracle(const QImage& picture, const QImage& asSeen)
{
    for (const auto& m : kMappings) {
        SCOPED_TRACE(std::string(m.name) + ", " + std::to_string(picture.width()) + "x"
            + std::to_string(picture.height()) + " format " + std::to_string(picture.format()));
        const QImage result = m.transform(picture);
        EXPECT_EQ(result.format(), QImage::Format_RGB32);
        EXPECT_EQ(differenceBetween(result, m.oracle(asSeen)), "");
    }
}

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

TEST(PixelMapping, MirrorsAndQuarterTurnsMatchTheirPixelMappingInAnyFormatAndStride)
{
    // Sides off the vector step, 4 x 4 blocks and ragged tiles; from 4 MiB, stores around the caches.
    for (QSize size : {QSize(1, 1), QSize(1, 7), QSize(7, 1), QSize(9, 7), QSize(10, 10), QSize(4, 4),
             QSize(5, 3), QSize(65, 33), QSize(3, 130), QSize(131, 70), QSize(257, 129), QSize(1025, 1028),
             QSize(1028, 1025)}) {
        const QImage picture = asymmetricPattern(size.width(), size.height());
        expectEveryMappingLikeTheOracle(picture, picture);
    }

    // Other formats, and rows padded to 24 pixels: a picture that wraps someone else's buffer.
    const QImage converted = asymmetricPattern(13, 6).convertToFormat(QImage::Format_RGB888);
    expectEveryMappingLikeTheOracle(converted, converted);
    const QImage wide = asymmetricPattern(24, 9);
    expectEveryMappingLikeTheOracle(
        QImage(wide.constBits(), 17, 9, wide.bytesPerLine(), QImage::Format_RGB32), wide.copy(0, 0, 17, 9));

    for (const auto& m : kMappings)
        EXPECT_TRUE(m.transform(QImage()).isNull()) << m.name;

    // The oracle turns the way Qt does: with y pointing down, +90 degrees is clockwise on the screen.
    const QImage picture = asymmetricPattern(9, 6);
    EXPECT_EQ(
        differenceBetween(oracle::turnedClockwise(picture), picture.transformed(QTransform().rotate(90))),
        "");
}

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
    // On squares of side 4k + 1 the polar mapping turns the grid exactly: quarter turns must agree.
    for (int side : {1, 5, 9, 13, 25})
        for (float degrees : {90.0f, 270.0f}) {
            const QImage square = asymmetricPattern(side, side);
            EXPECT_EQ(differenceFromPolar(
                          rotatePixels(square, square.size(), degrees), square, square.size(), degrees),
                "")
                << side << " at " << degrees;
        }

    // A target of another size is exchanged and filled from the corner.
    const QImage picture = asymmetricPattern(9, 6);
    QImage expected = backgroundSurface({5, 12});
    QPainter(&expected).drawImage(0, 0, oracle::turnedClockwise(picture));
    int refreshes = 0;
    EXPECT_EQ(differenceBetween(rotatePixels(picture, {12, 5}, 270, &refreshes), expected), "");
    EXPECT_EQ(refreshes, 1);
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
    const auto polar = RotatePicture(
        surface, 0x00010203u, 30, [&](const QImage& soFar) { shown.push_back(soFar.copy()); });
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

// 36 MB pictures, 8 MB headroom. At 30 the shared target must be copied before it is painted.
TEST(AllocationFailure, TransformsThatCannotAllocateGiveNothingAndLeaveTheTargetAsItWas)
{
    QImage picture(3000, 3000, QImage::Format_RGB32);
    picture.fill(0xFF336699u);
    for (float degrees : {270.0f, 30.0f}) {
        QImage target(picture.size(), QImage::Format_RGB32);
        target.fill(0xFF00FF00u);
        const QImage sharer = target;
        ResourceLimit cap(RLIMIT_AS, ResourceLimit::addressSpaceInUsePlus(8 << 20));
        ASSERT_TRUE(cap.isActive());
        EXPECT_EQ(RotatePixels(picture, target, degrees, 0xFFFFFFFFu, {}), RotateStatus::OutOfMemory);
        EXPECT_EQ(target.pixel(1500, 1500), 0xFF00FF00u);
        EXPECT_TRUE(mirrored(picture, MirrorKind::Horizontal).isNull());
        EXPECT_TRUE(turnedClockwise(picture).isNull());
        int progress = 0;
        const auto result
            = RotatePicture(picture, 0xFFFFFFFFu, qint16(degrees), [&](const QImage&) { ++progress; });
        EXPECT_EQ(result.status, RotateStatus::OutOfMemory) << degrees;
        EXPECT_TRUE(result.surface.isNull() && progress == 0) << degrees;
    }
}
