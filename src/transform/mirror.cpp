#include "transform/mirror.h"

#include "transform/pixel_kernels.h"
#include "transform/rgb32.h"

#include <cstring>

namespace quorvex {
namespace {

// Pictures from 4 MiB on (a full-HD screen is 8) are written around the caches, as memcpy does for
// large copies: for screen-sized pictures that measured markedly faster than cached stores.
constexpr qsizetype kStreamingFrom = qsizetype(4) << 20;

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
    if (stores == kernels::Stores::Streaming)
        kernels::finishStreaming();
    return result;
}

} // namespace quorvex
