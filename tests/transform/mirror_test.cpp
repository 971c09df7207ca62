#include "qstring_printer.h"
#include "transform/mirror.h"
#include "transform_oracles.h"

#include "test_images.h"

#include <cstring>
#include <gtest/gtest.h>
#include <vector>

using quorvex::MirrorKind;
using testsupport::asymmetricPattern;
using testsupport::differenceBetween;

namespace {

oracle::Mirror oracleKind(MirrorKind kind)
{
    switch (kind) {
    case MirrorKind::Horizontal:
        return oracle::Mirror::Horizontal;
    case MirrorKind::Vertical:
        return oracle::Mirror::Vertical;
    case MirrorKind::HalfTurn:
        break;
    }
    return oracle::Mirror::HalfTurn;
}

// Odd and even sides, single rows and columns, and rows longer than the 4-pixel vector step with
// ragged ends.
const QSize kSizes[] = {{1, 1}, {1, 7}, {7, 1}, {9, 7}, {10, 10}, {9, 6}, {6, 9}, {4, 4}, {5, 3}, {131, 70}};
const MirrorKind kKinds[] = {MirrorKind::Horizontal, MirrorKind::Vertical, MirrorKind::HalfTurn};

class MirrorOnSize : public ::testing::TestWithParam<QSize> { };

TEST_P(MirrorOnSize, EveryKindMatchesItsPixelMapping)
{
    const QImage picture = asymmetricPattern(GetParam().width(), GetParam().height());
    for (MirrorKind kind : kKinds) {
        const QImage result = quorvex::mirrored(picture, kind);
        EXPECT_EQ(result.format(), QImage::Format_RGB32);
        EXPECT_EQ(differenceBetween(result, oracle::mirrored(picture, oracleKind(kind))), "")
            << "kind " << int(kind);
    }
}

TEST_P(MirrorOnSize, EachKindTwiceGivesThePictureBack)
{
    const QImage picture = asymmetricPattern(GetParam().width(), GetParam().height());
    for (MirrorKind kind : kKinds)
        EXPECT_EQ(differenceBetween(quorvex::mirrored(quorvex::mirrored(picture, kind), kind), picture), "")
            << "kind " << int(kind);
}

TEST_P(MirrorOnSize, HorizontalThenVerticalIsTheHalfTurn)
{
    const QImage picture = asymmetricPattern(GetParam().width(), GetParam().height());
    const QImage both
        = quorvex::mirrored(quorvex::mirrored(picture, MirrorKind::Horizontal), MirrorKind::Vertical);
    EXPECT_EQ(differenceBetween(both, quorvex::mirrored(picture, MirrorKind::HalfTurn)), "");
}

INSTANTIATE_TEST_SUITE_P(Sizes, MirrorOnSize, ::testing::ValuesIn(kSizes), [](const auto& info) {
    return std::to_string(info.param.width()) + "x" + std::to_string(info.param.height());
});

TEST(Mirror, PicturesWrittenAroundTheCachesMirrorExactlyToo)
{
    // From 4 MiB on the rows are written around the caches; an odd width puts row starts on every
    // alignment.
    const QImage picture = asymmetricPattern(1025, 1030);
    for (MirrorKind kind : {MirrorKind::Horizontal, MirrorKind::HalfTurn})
        EXPECT_EQ(
            differenceBetween(quorvex::mirrored(picture, kind), oracle::mirrored(picture, oracleKind(kind))),
            "")
            << "kind " << int(kind);
}

TEST(Mirror, NullPictureGivesNullPicture)
{
    for (MirrorKind kind : kKinds)
        EXPECT_TRUE(quorvex::mirrored(QImage(), kind).isNull());
}

TEST(Mirror, LeavesTheSourceUntouched)
{
    const QImage picture = asymmetricPattern(9, 6);
    const QImage before = picture.copy();
    for (MirrorKind kind : kKinds)
        (void)quorvex::mirrored(picture, kind);
    EXPECT_EQ(differenceBetween(picture, before), "");
}

TEST(Mirror, OtherFormatsAreConvertedOnTheWayIn)
{
    const QImage picture = asymmetricPattern(13, 5);
    for (QImage::Format format : {QImage::Format_RGB888, QImage::Format_ARGB32, QImage::Format_RGB16}) {
        const QImage converted = picture.convertToFormat(format);
        const QImage result = quorvex::mirrored(converted, MirrorKind::Horizontal);
        EXPECT_EQ(result.format(), QImage::Format_RGB32) << format;
        EXPECT_EQ(differenceBetween(result, oracle::mirrored(converted, oracle::Mirror::Horizontal)), "")
            << format;
    }
}

TEST(Mirror, ReadsRowsThroughTheirStride)
{
    // Rows padded to 16 pixels: a picture that wraps someone else's buffer.
    const QImage tight = asymmetricPattern(11, 4);
    std::vector<QRgb> buffer(16 * 4, 0xFF00FF00u);
    for (int y = 0; y < 4; ++y)
        std::memcpy(&buffer[16 * y], tight.constScanLine(y), 11 * sizeof(QRgb));
    const QImage padded(reinterpret_cast<const uchar*>(buffer.data()), 11, 4, 16 * 4, QImage::Format_RGB32);
    for (MirrorKind kind : kKinds)
        EXPECT_EQ(
            differenceBetween(quorvex::mirrored(padded, kind), oracle::mirrored(tight, oracleKind(kind))), "")
            << "kind " << int(kind);
}

} // namespace
