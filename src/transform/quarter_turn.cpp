#include "transform/quarter_turn.h"

#include "transform/pixel_kernels.h"
#include "transform/rgb32.h"

#include <algorithm>

namespace quorvex {
namespace {

enum class Turn { Clockwise, CounterClockwise };

// Square tiles of 4 x 4 blocks, small enough that the source rows and destination rows one tile
// touches stay in the cache (and the TLB) while its columns are gathered.
constexpr int kTile = 64;

template <typename Pixel> class Rows {
public:
    Rows(Pixel* bits, qsizetype stride)
        : m_bits(bits)
        , m_stride(stride)
    {
    }
    auto* operator[](int y) const
    {
        using Row = std::conditional_t<std::is_const_v<Pixel>, const QRgb, QRgb>;
        return reinterpret_cast<Row*>(m_bits + y * m_stride);
    }

private:
    Pixel* m_bits;
    qsizetype m_stride;
};

// Source pixel (x, y) of a width x height picture and where it lands.
template <Turn turn>
void turnPixel(
    const Rows<const uchar>& source, const Rows<uchar>& result, int x, int y, int width, int height)
{
    if constexpr (turn == Turn::Clockwise)
        result[x][height - 1 - y] = source[y][x];
    else
        result[width - 1 - x][y] = source[y][x];
}

// The 4 x 4 block with its top-left corner at source pixel (x, y), in one go.
template <Turn turn>
void turnBlock(
    const Rows<const uchar>& source, const Rows<uchar>& result, int x, int y, int width, int height)
{
    if constexpr (turn == Turn::Clockwise) {
        const QRgb* from[4] = {source[y + 3] + x, source[y + 2] + x, source[y + 1] + x, source[y] + x};
        const int column = height - 4 - y;
        QRgb* const to[4]
            = {result[x] + column, result[x + 1] + column, result[x + 2] + column, result[x + 3] + column};
        kernels::transpose4x4(from, to);
    } else {
        const QRgb* from[4] = {source[y] + x, source[y + 1] + x, source[y + 2] + x, source[y + 3] + x};
        QRgb* const to[4] = {result[width - 1 - x] + y, result[width - 2 - x] + y, result[width - 3 - x] + y,
            result[width - 4 - x] + y};
        kernels::transpose4x4(from, to);
    }
}

template <Turn turn>
void turnAll(const Rows<const uchar>& source, const Rows<uchar>& result, int width, int height)
{
    const int blocksRight = width & ~3;
    const int blocksBottom = height & ~3;
    for (int tileY = 0; tileY < blocksBottom; tileY += kTile) {
        const int tileBottom = std::min(tileY + kTile, blocksBottom);
        for (int tileX = 0; tileX < blocksRight; tileX += kTile) {
            const int tileRight = std::min(tileX + kTile, blocksRight);
            // Four source columns at a time become four result rows, written left to right.
            for (int x = tileX; x < tileRight; x += 4)
                for (int y = tileY; y < tileBottom; y += 4)
                    turnBlock<turn>(source, result, x, y, width, height);
        }
    }
    // The ragged edges no whole block covers: the last width % 4 columns and height % 4 rows.
    for (int y = 0; y < height; ++y)
        for (int x = blocksRight; x < width; ++x)
            turnPixel<turn>(source, result, x, y, width, height);
    for (int y = blocksBottom; y < height; ++y)
        for (int x = 0; x < blocksRight; ++x)
            turnPixel<turn>(source, result, x, y, width, height);
}

QImage turned(const QImage& picture, Turn turn)
{
    const QImage source = asRgb32(picture);
    if (source.isNull())
        return {};
    QImage result(source.height(), source.width(), QImage::Format_RGB32);
    if (result.isNull())
        return {};

    const Rows<const uchar> from(source.constBits(), source.bytesPerLine());
    const Rows<uchar> to(result.bits(), result.bytesPerLine());
    if (turn == Turn::Clockwise)
        turnAll<Turn::Clockwise>(from, to, source.width(), source.height());
    else
        turnAll<Turn::CounterClockwise>(from, to, source.width(), source.height());
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
