#include "qstring_printer.h"
#include "transform/mirror.h"
#include "transform/quarter_turn.h"
#include "transform_oracles.h"

#include "test_images.h"

#include <QTransform>

#include <cstring>
#include <gtest/gtest.h>
#include <vector>

using testsupport::asymmetricPattern;
using testsupport::differenceBetween;

namespace {

// Odd and even sides, single rows and columns, sides that are not a multiple of the 4 x 4 blocks,
// and pictures larger than one tile with ragged edges.
const QSize kSizes[] = {{1, 1}, {1, 7}, {7, 1}, {2, 3}, {9, 7}, {10, 10}, {9, 6}, {6, 9}, {4, 4}, {5, 3},
    {64, 64}, {65, 33}, {3, 130}, {131, 70}, {70, 131}, {257, 129}};

class QuarterTurnOnSize : public ::testing::TestWithParam<QSize> {
protected:
    QImage picture() const { return asymmetricPattern(GetParam().width(), GetParam().height()); }
};

TEST_P(QuarterTurnOnSize, ClockwiseMatchesItsPixelMapping)
{
    const QImage result = quorvex::turnedClockwise(picture());
    EXPECT_EQ(result.format(), QImage::Format_RGB32);
    EXPECT_EQ(differenceBetween(result, oracle::turnedClockwise(picture())), "");
}

TEST_P(QuarterTurnOnSize, CounterClockwiseMatchesItsPixelMapping)
{
    const QImage result = quorvex::turnedCounterClockwise(picture());
    EXPECT_EQ(result.format(), QImage::Format_RGB32);
    EXPECT_EQ(differenceBetween(result, oracle::turnedCounterClockwise(picture())), "");
}

TEST_P(QuarterTurnOnSize, FourClockwiseTurnsGiveThePictureBack)
{
    QImage turned = picture();
    for (int i = 0; i < 4; ++i)
        turned = quorvex::turnedClockwise(turned);
    EXPECT_EQ(differenceBetween(turned, picture()), "");
}

TEST_P(QuarterTurnOnSize, ClockwiseThenCounterClockwiseGivesThePictureBack)
{
    EXPECT_EQ(
        differenceBetween(quorvex::turnedCounterClockwise(quorvex::turnedClockwise(picture())), picture()),
        "");
    EXPECT_EQ(
        differenceBetween(quorvex::turnedClockwise(quorvex::turnedCounterClockwise(picture())), picture()),
        "");
}

TEST_P(QuarterTurnOnSize, TwoQuarterTurnsAreTheHalfTurn)
{
    const QImage halfTurn = quorvex::mirrored(picture(), quorvex::MirrorKind::HalfTurn);
    EXPECT_EQ(differenceBetween(quorvex::turnedClockwise(quorvex::turnedClockwise(picture())), halfTurn), "");
    EXPECT_EQ(differenceBetween(
                  quorvex::turnedCounterClockwise(quorvex::turnedCounterClockwise(picture())), halfTurn),
        "");
}

TEST_P(QuarterTurnOnSize, AgreesWithQtsOwnQuarterTurns)
{
    // With y pointing down, Qt's rotation by +90 degrees is clockwise on the screen.
    EXPECT_EQ(differenceBetween(
                  quorvex::turnedClockwise(picture()), picture().transformed(QTransform().rotate(90))),
        "");
    EXPECT_EQ(differenceBetween(quorvex::turnedCounterClockwise(picture()),
                  picture().transformed(QTransform().rotate(-90))),
        "");
}

INSTANTIATE_TEST_SUITE_P(Sizes, QuarterTurnOnSize, ::testing::ValuesIn(kSizes), [](const auto& info) {
    return std::to_string(info.param.width()) + "x" + std::to_string(info.param.height());
});

TEST(QuarterTurn, ClockwisePutsTheTopEdgeAlongTheRightSide)
{
    // 3 x 2: a red top row over a blue bottom row, with a green top-left corner.
    QImage picture(3, 2, QImage::Format_RGB32);
    picture.fill(qRgb(255, 0, 0));
    for (int x = 0; x < 3; ++x)
        picture.setPixel(x, 1, qRgb(0, 0, 255));
    picture.setPixel(0, 0, qRgb(0, 255, 0));

    const QImage clockwise = quorvex::turnedClockwise(picture);
    ASSERT_EQ(clockwise.size(), QSize(2, 3));
    EXPECT_EQ(clockwise.pixel(1, 0), qRgb(0, 255, 0)); // the corner moved to the top right
    EXPECT_EQ(clockwise.pixel(1, 2), qRgb(255, 0, 0));
    EXPECT_EQ(clockwise.pixel(0, 1), qRgb(0, 0, 255)); // the bottom row along the left side

    const QImage counterClockwise = quorvex::turnedCounterClockwise(picture);
    ASSERT_EQ(counterClockwise.size(), QSize(2, 3));
    EXPECT_EQ(counterClockwise.pixel(0, 2), qRgb(0, 255, 0)); // the corner moved to the bottom left
    EXPECT_EQ(counterClockwise.pixel(1, 1), qRgb(0, 0, 255)); // the bottom row along the right side
}

TEST(QuarterTurn, PicturesWrittenAroundTheCachesTurnExactlyToo)
{
    // From 4 MiB on, results whose rows start on 16-byte boundaries (a height that is a multiple
    // of 4) are written around the caches; other heights keep to ordinary stores.
    for (QSize size : {QSize(1025, 1028), QSize(1028, 1025)}) {
        const QImage picture = asymmetricPattern(size.width(), size.height());
        EXPECT_EQ(differenceBetween(quorvex::turnedClockwise(picture), oracle::turnedClockwise(picture)), "");
        EXPECT_EQ(differenceBetween(
                      quorvex::turnedCounterClockwise(picture), oracle::turnedCounterClockwise(picture)),
            "");
    }
}

TEST(QuarterTurn, NullPictureGivesNullPicture)
{
    EXPECT_TRUE(quorvex::turnedClockwise(QImage()).isNull());
    EXPECT_TRUE(quorvex::turnedCounterClockwise(QImage()).isNull());
}

TEST(QuarterTurn, OtherFormatsAreConvertedOnTheWayIn)
{
    const QImage picture = asymmetricPattern(13, 6);
    for (QImage::Format format :
        {QImage::Format_RGB888, QImage::Format_ARGB32_Premultiplied, QImage::Format_RGB16}) {
        const QImage converted = picture.convertToFormat(format);
        const QImage result = quorvex::turnedClockwise(converted);
        EXPECT_EQ(result.format(), QImage::Format_RGB32) << format;
        EXPECT_EQ(differenceBetween(result, oracle::turnedClockwise(converted)), "") << format;
    }
}

TEST(QuarterTurn, ReadsRowsThroughTheirStride)
{
    // Rows padded to 24 pixels: a picture that wraps someone else's buffer.
    const QImage tight = asymmetricPattern(17, 9);
    std::vector<QRgb> buffer(24 * 9, 0xFF00FF00u);
    for (int y = 0; y < 9; ++y)
        std::memcpy(&buffer[24 * y], tight.constScanLine(y), 17 * sizeof(QRgb));
    const QImage padded(reinterpret_cast<const uchar*>(buffer.data()), 17, 9, 24 * 4, QImage::Format_RGB32);
    EXPECT_EQ(differenceBetween(quorvex::turnedClockwise(padded), oracle::turnedClockwise(tight)), "");
    EXPECT_EQ(
        differenceBetween(quorvex::turnedCounterClockwise(padded), oracle::turnedCounterClockwise(tight)),
        "");
}

} // namespace
