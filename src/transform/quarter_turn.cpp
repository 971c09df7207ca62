#include "transform/quarter_turn.h"

#include "transform/pixel_kernels.h"
#include "transform/rgb32.h"

#include <algorithm>
#include <type_traits>

namespace quorvex {
namespace {

enum class Turn { Clockwise, CounterClockwise };

// Square tiles of 4 x 4 blocks, small enough that the source rows and destination rows one tile
// touches stay in the cache (and the TLB) while its columns are gathered.
constexpr int kTile = 64;

// Results from 4 MiB on (a full-HD screen is 8) are written around the caches, which measured
// markedly faster for screen-sized pictures.
constexpr qsizetype kStreamingFrom = qsizetype(4) << 20;

template <typename Byte> class Rows {
public:
    Rows(Byte* bits, qsizetype stride)
        : m_bits(bits)
        , m_stride(stride)
    {
    }
    auto* operator[](int y) const
    {
        using Pixel = std::conditional_t<std::is_const_v<Byte>, const QRgb, QRgb>;
        return reinterpret_cast<Pixel*>(m_bits + y * m_stride);
    }

private:
    Byte* m_bits;
    qsizetype m_stride;
};

// One turn of a width x height source into its result.
struct TurnJob {
    Rows<const uchar> source;
    Rows<uchar> result;
    int width;
    int height;
    kernels::Stores stores;
};

// Source pixel (x, y) and where it lands.
template <Turn turn> void turnPixel(const TurnJob& job, int x, int y)
{
    if constexpr (turn == Turn::Clockwise)
        job.result[x][job.height - 1 - y] = job.source[y][x];
    else
        job.result[job.width - 1 - x][y] = job.source[y][x];
}

// The 4 x 4 block with its top-left corner at source pixel (x, y), in one go.
template <Turn turn> void turnBlock(const TurnJob& job, int x, int y)
{
    const auto& source = job.source;
    const auto& result = job.result;
    if constexpr (turn == Turn::Clockwise) {
        const QRgb* from[4] = {source[y + 3] + x, source[y + 2] + x, source[y + 1] + x, source[y] + x};
        const int column = job.height - 4 - y;
        QRgb* const to[4]
            = {result[x] + column, result[x + 1] + column, result[x + 2] + column, result[x + 3] + column};
        kernels::transpose4x4(from, to, job.stores);
    } else {
        const QRgb* from[4] = {source[y] + x, source[y + 1] + x, source[y + 2] + x, source[y + 3] + x};
        const int row = job.width - 1 - x;
        QRgb* const to[4] = {result[row] + y, result[row - 1] + y, result[row - 2] + y, result[row - 3] + y};
        kernels::transpose4x4(from, to, job.stores);
    }
}

template <Turn turn> void turnAll(const TurnJob& job)
{
    const int blocksRight = job.width & ~3;
    const int blocksBottom = job.height & ~3;
    for (int tileY = 0; tileY < blocksBottom; tileY += kTile) {
        const int tileBottom = std::min(tileY + kTile, blocksBottom);
        for (int tileX = 0; tileX < blocksRight; tileX += kTile) {
            const int tileRight = std::min(tileX + kTile, blocksRight);
            // Four source columns at a time become four result rows, written left to right.
            for (int x = tileX; x < tileRight; x += 4)
                for (int y = tileY; y < tileBottom; y += 4)
                    turnBlock<turn>(job, x, y);
        }
    }
    // The ragged edges no whole block covers: the last width % 4 columns and height % 4 rows.
    for (int y = 0; y < job.height; ++y)
        for (int x = blocksRight; x < job.width; ++x)
            turnPixel<turn>(job, x, y);
    for (int y = blocksBottom; y < job.height; ++y)
        for (int x = 0; x < blocksRight; ++x)
            turnPixel<turn>(job, x, y);
    if (job.stores == kernels::Stores::Streaming)
        kernels::finishStreaming();
}

// Streaming needs every block on a 16-byte boundary: blocks start every 4 pixels of a result row,
// so it takes rows that start on one.
kernels::Stores storesFor(QImage& result)
{
    const bool rowsAligned
        = reinterpret_cast<quintptr>(result.bits()) % 16 == 0 && result.bytesPerLine() % 16 == 0;
    return rowsAligned && result.sizeInBytes() >= kStreamingFrom ? kernels::Stores::Streaming
                                                                 : kernels::Stores::Cached;
}

QImage turned(const QImage& picture, Turn turn)
{
    const QImage source = asRgb32(picture);
    if (source.isNull())
        return {};
    QImage result(source.height(), source.width(), QImage::Format_RGB32);
    if (result.isNull())
        return {};

    const TurnJob job{Rows<const uchar>(source.constBits(), source.bytesPerLine()),
        Rows<uchar>(result.bits(), result.bytesPerLine()), source.width(), source.height(),
        storesFor(result)};
    if (turn == Turn::Clockwise)
        turnAll<Turn::Clockwise>(job);
    else
        turnAll<Turn::CounterClockwise>(job);
    return result;
}

} // namespace

QImage turnedClockwise(const QImage& picture)
{
    return turned(picture, Turn::Clockwise);
}

QImage turnedCounterClockwise(const QImage& picture)
{
    return turned(picture, Turn::CounterClockwise);
}

} // namespace quorvex
