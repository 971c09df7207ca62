#include "transform/mirror.h"

#include "transform/pixel_kernels.h"
#include "transform/rgb32.h"

#include <cstring>

namespace quorvex {
namespace {

// From about a 4K screen on, a mirrored picture is larger than the caches it would pass through,
// so it is written around them (as memcpy does for large copies).
constexpr qsizetype kStreamingFrom = qsizetype(16) << 20;

} // namespace

QImage mirrored(const QImage& picture, MirrorKind kind)
{
    const QImage source = asRgb32(picture);
    if (source.isNull())
        return {};
    const int width = source.width();
    const int height = source.height();
    QImage result(width, height, QImage::Format_RGB32);
    if (result.isNull())
        return {};

    const bool flipRows = kind != MirrorKind::Horizontal;
    const bool reverseEachRow = kind != MirrorKind::Vertical;
    const size_t rowBytes = size_t(width) * sizeof(QRgb);
    const auto stores
        = result.sizeInBytes() >= kStreamingFrom ? kernels::Stores::Streaming : kernels::Stores::Cached;
    // The source is read top to bottom for every kind and the mirrored rows are placed instead:
    // reading rows bottom-up measured markedly slower on large pictures.
    for (int y = 0; y < height; ++y) {
        const auto* from = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        auto* to = reinterpret_cast<QRgb*>(result.scanLine(flipRows ? height - 1 - y : y));
        if (reverseEachRow)
            kernels::reversedCopy(from, to, width, stores);
        else
            std::memcpy(to, from, rowBytes);
    }
    kernels::finishStreaming();
    return result;
}

} // namespace quorvex
