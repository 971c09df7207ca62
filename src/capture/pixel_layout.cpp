#include "capture/pixel_layout.h"

#include <QSysInfo>
#include <array>
#include <bit>
#include <limits>

namespace quorvex {

namespace {

bool oneRun(quint32 mask)
{
    return mask != 0 && std::popcount(mask) <= 16
        && std::has_single_bit((mask >> std::countr_zero(mask)) + 1);
}

// One channel's bits and how they widen or narrow to 8 bits.
struct Channel {
    explicit Channel(quint32 mask)
        : mask(mask)
        , shift(std::countr_zero(mask))
        , bits(std::popcount(mask))
    {
        for (quint32 v = 0; bits < 8 && v < (1u << bits); ++v) {
            quint32 wide = 0;
            for (int filled = 0; filled < 8; filled += bits)
                wide |= (v << (8 - bits)) >> filled;
            widened[v] = uchar(wide);
        }
    }
    quint32 to8(quint32 pixel) const
    {
        const quint32 v = (pixel & mask) >> shift;
        return bits >= 8 ? v >> (bits - 8) : widened[v];
    }

    quint32 mask;
    int shift;
    int bits;
    std::array<uchar, 256> widened{};
};

template <int Bytes, bool MsbFirst> quint32 readPixel(const uchar* p)
{
    quint32 value = 0;
    for (int i = 0; i < Bytes; ++i)
        value |= quint32(p[i]) << (8 * (MsbFirst ? Bytes - 1 - i : i));
    return value;
}

template <int Bytes, bool MsbFirst>
void convertRows(const PixelLayout& layout, const uchar* source, qsizetype stride, QImage& picture)
{
    const Channel red(layout.redMask), green(layout.greenMask), blue(layout.blueMask);
    for (int y = 0; y < picture.height(); ++y) {
        const uchar* in = source + y * stride;
        auto* out = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < picture.width(); ++x, in += Bytes) {
            const quint32 pixel = readPixel<Bytes, MsbFirst>(in);
            out[x] = qRgb(int(red.to8(pixel)), int(green.to8(pixel)), int(blue.to8(pixel)));
        }
    }
}

template <int Bytes>
void convertRows(const PixelLayout& layout, const uchar* source, qsizetype stride, QImage& picture)
{
    if (layout.mostSignificantByteFirst)
        convertRows<Bytes, true>(layout, source, stride, picture);
    else
        convertRows<Bytes, false>(layout, source, stride, picture);
}

} // namespace

bool canConvert(const PixelLayout& layout)
{
    const int bpp = layout.bitsPerPixel;
    if (bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32)
        return false;
    const quint64 inside = (quint64(1) << bpp) - 1;
    const quint64 all = quint64(layout.redMask) | layout.greenMask | layout.blueMask;
    const bool apart = (layout.redMask & layout.greenMask) == 0 && (layout.redMask & layout.blueMask) == 0
        && (layout.greenMask & layout.blueMask) == 0;
    return oneRun(layout.redMask) && oneRun(layout.greenMask) && oneRun(layout.blueMask) && apart
        && (all & ~inside) == 0 && layout.scanlinePad >= 8 && layout.scanlinePad % 8 == 0;
}

bool isRgb32AsIs(const PixelLayout& layout)
{
    const bool bigEndian = QSysInfo::ByteOrder == QSysInfo::BigEndian;
    return layout.bitsPerPixel == 32 && layout.mostSignificantByteFirst == bigEndian
        && layout.redMask == 0xff0000 && layout.greenMask == 0xff00 && layout.blueMask == 0xff;
}

qsizetype bytesPerRow(const PixelLayout& layout, int width)
{
    if (!canConvert(layout) || width < 0)
        return 0;
    const qint64 pad = layout.scanlinePad;
    const qint64 bits = (qint64(width) * layout.bitsPerPixel + pad - 1) / pad * pad;
    const qint64 bytes = bits / 8;
    return bytes > std::numeric_limits<int>::max() ? 0 : qsizetype(bytes);
}

QImage convertToRgb32(
    const PixelLayout& layout, const uchar* source, qsizetype sourceStride, int width, int height)
{
    if (!canConvert(layout) || !source || width < 1 || height < 1)
        return {};
    QImage picture(width, height, QImage::Format_RGB32);
    if (picture.isNull())
        return picture;
    switch (layout.bitsPerPixel) {
    case 8:
        convertRows<1>(layout, source, sourceStride, picture);
        break;
    case 16:
        convertRows<2>(layout, source, sourceStride, picture);
        break;
    case 24:
        convertRows<3>(layout, source, sourceStride, picture);
        break;
    default:
        convertRows<4>(layout, source, sourceStride, picture);
        break;
    }
    return picture;
}

QString visualClassName(int visualClass)
{
    // The X protocol's visual classes, in their order.
    static const char* const names[]
        = {"StaticGray", "GrayScale", "StaticColor", "PseudoColor", "TrueColor", "DirectColor"};
    return visualClass >= 0 && visualClass < 6 ? QString::fromLatin1(names[visualClass])
                                               : QStringLiteral("visual class %1").arg(visualClass);
}

QString unreadablePixelFormat(int depth, int visualClass)
{
    return QStringLiteral("this screen's pixel format (depth %1, %2) cannot be read")
        .arg(depth)
        .arg(visualClassName(visualClass));
}

} // namespace quorvex
