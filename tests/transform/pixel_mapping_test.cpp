#include "transform/mirror.h"
#include "transform/quarter_turn.h"
#include "transform_oracles.h"

#include "test_images.h"

#include <QTransform>
#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using quorvex::MirrorKind;
using testsupport::asymmetricPattern;
using testsupport::differenceBetween;

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

} // namespace

TEST(PixelMapping, MirrorsAndQuarterTurnsMatchTheirPixelMappingInAnyFormatAndStride)
{
    // Sides off the 4-pixel vector step and 4 x 4 blocks, ragged tiles, and from 4 MiB on pictures
    // written around the caches with row starts on every alignment.
    for (QSize size : {QSize(1, 1), QSize(1, 7), QSize(7, 1), QSize(9, 7), QSize(10, 10), QSize(4, 4),
             QSize(5, 3), QSize(65, 33), QSize(3, 130), QSize(131, 70), QSize(257, 129), QSize(1025, 1028),
             QSize(1028, 1025)}) {
        const QImage picture = asymmetricPattern(size.width(), size.height());
        expectEveryMappingLikeTheOracle(picture, picture);
    }

    // Other formats, and rows padded to 24 pixels: a picture that wraps someone else's buffer.
    const QImage converted = asymmetricPattern(13, 6).convertToFormat(QImage::Format_RGB888);
    expectEveryMappingLikeTheOracle(converted, converted);
    const QImage tight = asymmetricPattern(17, 9);
    std::vector<QRgb> buffer(24 * 9, 0xFF00FF00u);
    for (int y = 0; y < 9; ++y)
        std::memcpy(&buffer[24 * y], tight.constScanLine(y), 17 * sizeof(QRgb));
    expectEveryMappingLikeTheOracle(
        QImage(reinterpret_cast<const uchar*>(buffer.data()), 17, 9, 24 * 4, QImage::Format_RGB32), tight);

    for (const auto& m : kMappings)
        EXPECT_TRUE(m.transform(QImage()).isNull()) << m.name;

    // The oracle turns the way Qt does: with y pointing down, +90 degrees is clockwise on the screen.
    const QImage picture = asymmetricPattern(9, 6);
    EXPECT_EQ(
        differenceBetween(oracle::turnedClockwise(picture), picture.transformed(QTransform().rotate(90))),
        "");
}
