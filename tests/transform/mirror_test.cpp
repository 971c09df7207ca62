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

const struct {
    MirrorKind kind;
    oracle::Mirror oracleKind;
} kKinds[] = {{MirrorKind::Horizontal, oracle::Mirror::Horizontal},
    {MirrorKind::Vertical, oracle::Mirror::Vertical}, {MirrorKind::HalfTurn, oracle::Mirror::HalfTurn}};

// Every kind against its pixel mapping for `picture`.
void expectMirrorsLikeTheOracle(const QImage& picture, const QImage& asSeen)
{
    for (const auto& k : kKinds) {
        const QImage result = quorvex::mirrored(picture, k.kind);
        EXPECT_EQ(result.format(), QImage::Format_RGB32);
        EXPECT_EQ(differenceBetween(result, oracle::mirrored(asSeen, k.oracleKind)), "")
            << "kind " << int(k.kind) << ", " << picture.width() << "x" << picture.height() << " format "
            << picture.format();
    }
}

TEST(Mirror, EveryKindMatchesItsPixelMappingInAnyFormatAndStride)
{
    // Single rows and columns, rows past the 4-pixel vector step with ragged ends, and from 4 MiB on
    // rows written around the caches (an odd width puts row starts on every alignment).
    for (QSize size : {QSize(1, 1), QSize(1, 7), QSize(7, 1), QSize(9, 7), QSize(10, 10), QSize(6, 9),
             QSize(4, 4), QSize(5, 3), QSize(131, 70), QSize(1025, 1030)}) {
        const QImage picture = asymmetricPattern(size.width(), size.height());
        expectMirrorsLikeTheOracle(picture, picture);
    }

    // Other formats, and rows padded to 16 pixels: a picture that wraps someone else's buffer.
    const QImage converted = asymmetricPattern(13, 5).convertToFormat(QImage::Format_RGB888);
    expectMirrorsLikeTheOracle(converted, converted);

    const QImage tight = asymmetricPattern(11, 4);
    std::vector<QRgb> buffer(16 * 4, 0xFF00FF00u);
    for (int y = 0; y < 4; ++y)
        std::memcpy(&buffer[16 * y], tight.constScanLine(y), 11 * sizeof(QRgb));
    expectMirrorsLikeTheOracle(
        QImage(reinterpret_cast<const uchar*>(buffer.data()), 11, 4, 16 * 4, QImage::Format_RGB32), tight);

    for (const auto& k : kKinds)
        EXPECT_TRUE(quorvex::mirrored(QImage(), k.kind).isNull());
}

} // namespace
