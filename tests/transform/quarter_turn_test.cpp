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

void expectTurnsLikeTheOracle(const QImage& picture, const QImage& asSeen)
{
    const QImage clockwise = quorvex::turnedClockwise(picture);
    EXPECT_EQ(clockwise.format(), QImage::Format_RGB32);
    EXPECT_EQ(differenceBetween(clockwise, oracle::turnedClockwise(asSeen)), "")
        << picture.width() << "x" << picture.height() << " format " << picture.format();
    EXPECT_EQ(
        differenceBetween(quorvex::turnedCounterClockwise(picture), oracle::turnedCounterClockwise(asSeen)),
        "")
        << picture.width() << "x" << picture.height() << " format " << picture.format();
}

TEST(QuarterTurn, BothDirectionsMatchTheirPixelMappingInAnyFormatAndStride)
{
    // Odd and even sides, single rows and columns, sides that are not a multiple of the 4 x 4
    // blocks, pictures larger than one tile with ragged edges, and from 4 MiB on results whose rows
    // start on 16-byte boundaries (a height that is a multiple of 4) written around the caches.
    for (QSize size : {QSize(1, 1), QSize(1, 7), QSize(7, 1), QSize(9, 7), QSize(4, 4), QSize(65, 33),
             QSize(3, 130), QSize(131, 70), QSize(257, 129), QSize(1025, 1028), QSize(1028, 1025)}) {
        const QImage picture = asymmetricPattern(size.width(), size.height());
        expectTurnsLikeTheOracle(picture, picture);
    }
    // The oracle turns the way Qt does: with y pointing down, +90 degrees is clockwise on the screen.
    const QImage picture = asymmetricPattern(9, 6);
    EXPECT_EQ(
        differenceBetween(oracle::turnedClockwise(picture), picture.transformed(QTransform().rotate(90))),
        "");

    // Other formats, and rows padded to 24 pixels: a picture that wraps someone else's buffer.
    const QImage converted = asymmetricPattern(13, 6).convertToFormat(QImage::Format_RGB888);
    expectTurnsLikeTheOracle(converted, converted);

    const QImage tight = asymmetricPattern(17, 9);
    std::vector<QRgb> buffer(24 * 9, 0xFF00FF00u);
    for (int y = 0; y < 9; ++y)
        std::memcpy(&buffer[24 * y], tight.constScanLine(y), 17 * sizeof(QRgb));
    expectTurnsLikeTheOracle(
        QImage(reinterpret_cast<const uchar*>(buffer.data()), 17, 9, 24 * 4, QImage::Format_RGB32), tight);

    EXPECT_TRUE(quorvex::turnedClockwise(QImage()).isNull());
}

} // namespace
