#include "platform/x11/visual_layout.h"

#include <array>
#include <bit>
#include <limits>
#include <new>
#include <vector>

namespace quorvex {

namespace {

bool oneRun(uint32_t mask)
{
    return mask != 0 && std::popcount(mask) <= 16
        && std::has_single_bit((mask >> std::countr_zero(mask)) + 1);
}

// One channel's bits and how they widen or narrow to 8 bits.
struct Channel {
    explicit Channel(uint32_t mask)
        : mask(mask)
        , shift(std::countr_zero(mask))
        , bits(std::popcount(mask))
    {
        for (uint32_t v = 0; bits < 8 && v < (1u << bits); ++v) {
            uint32_t wide = 0;
            for (int filled = 0; filled < 8; filled += bits)
                wide |= (v << (8 - bits)) >> filled;
            widened[v] = static_cast<unsigned char>(wide);
        }
    }
    uint32_t to8(uint32_t pixel) const
    {
        const uint32_t v = (pixel & mask) >> shift;
        return bits >= 8 ? v >> (bits - 8) : widened[v];
    }

    uint32_t mask;
    int shift;
    int bits;
    std::array<unsigned char, 256> widened{};
};

template <int Bytes, bool MsbFirst> uint32_t readPixel(const unsigned char* p)
{
    uint32_t value = 0;
    for (int i = 0; i < Bytes; ++i)
        value |= uint32_t(p[i]) << (8 * (MsbFirst ? Bytes - 1 - i : i));
    return value;
}

template <int Bytes, bool MsbFirst>
void convertRows(const VisualLayout& layout, const unsigned char* source, std::ptrdiff_t stride,
    uint32_t* out, int width, int height)
{
    const Channel red(layout.redMask), green(layout.greenMask), blue(layout.blueMask);
    for (int y = 0; y < height; ++y, out += width) {
        const unsigned char* in = source + y * stride;
        for (int x = 0; x < width; ++x, in += Bytes) {
            const uint32_t pixel = readPixel<Bytes, MsbFirst>(in);
            out[x] = 0xff000000u | red.to8(pixel) << 16 | green.to8(pixel) << 8 | blue.to8(pixel);
        }
    }
}

template <int Bytes>
void convertRows(const VisualLayout& layout, const unsigned char* source, std::ptrdiff_t stride,
    uint32_t* out, int width, int height)
{
    if (layout.mostSignificantByteFirst)
        convertRows<Bytes, true>(layout, source, stride, out, width, height);
    else
        convertRows<Bytes, false>(layout, source, stride, out, width, height);
}

} // namespace

bool canConvert(const VisualLayout& layout)
{
    const int bpp = layout.bitsPerPixel;
    if (bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32)
        return false;
    const uint64_t inside = (uint64_t(1) << bpp) - 1;
    const uint64_t all = uint64_t(layout.redMask) | layout.greenMask | layout.blueMask;
    const bool apart = (layout.redMask & layout.greenMask) == 0 && (layout.redMask & layout.blueMask) == 0
        && (layout.greenMask & layout.blueMask) == 0;
    return oneRun(layout.redMask) && oneRun(layout.greenMask) && oneRun(layout.blueMask) && apart
        && (all & ~inside) == 0 && layout.scanlinePad >= 8 && layout.scanlinePad % 8 == 0;
}

bool isRgb32AsIs(const VisualLayout& layout)
{
    const bool bigEndian = std::endian::native == std::endian::big;
    return layout.bitsPerPixel == 32 && layout.mostSignificantByteFirst == bigEndian
        && layout.redMask == 0xff0000 && layout.greenMask == 0xff00 && layout.blueMask == 0xff;
}

std::ptrdiff_t bytesPerRow(const VisualLayout& layout, int width)
{
    if (!canConvert(layout) || width < 0)
        return 0;
    const int64_t pad = layout.scanlinePad;
    const int64_t bits = (int64_t(width) * layout.bitsPerPixel + pad - 1) / pad * pad;
    const int64_t bytes = bits / 8;
    return bytes > std::numeric_limits<int>::max() ? 0 : std::ptrdiff_t(bytes);
}

ScreenPixels convertToXrgb32(const VisualLayout& layout, const unsigned char* source,
    std::ptrdiff_t sourceStride, int width, int height)
{
    if (!canConvert(layout) || !source || width < 1 || height < 1)
        return {};
    std::shared_ptr<std::vector<uint32_t>> rows;
    try {
        rows = std::make_shared<std::vector<uint32_t>>(size_t(width) * size_t(height));
    } catch (const std::bad_alloc&) {
        return {};
    }
    uint32_t* out = rows->data();
    switch (layout.bitsPerPixel) {
    case 8:
        convertRows<1>(layout, source, sourceStride, out, width, height);
        break;
    case 16:
        convertRows<2>(layout, source, sourceStride, out, width, height);
        break;
    case 24:
        convertRows<3>(layout, source, sourceStride, out, width, height);
        break;
    default:
        convertRows<4>(layout, source, sourceStride, out, width, height);
        break;
    }
    return {reinterpret_cast<unsigned char*>(out), width, height, std::ptrdiff_t(width) * 4, std::move(rows)};
}

std::string visualClassName(int visualClass)
{
    // The X protocol's visual classes, in their order.
    static const char* const names[]
        = {"StaticGray", "GrayScale", "StaticColor", "PseudoColor", "TrueColor", "DirectColor"};
    return visualClass >= 0 && visualClass < 6 ? names[visualClass]
                                               : "visual class " + std::to_string(visualClass);
}

std::string unreadablePixelFormat(int depth, int visualClass)
{
    return "this screen's pixel format (depth " + std::to_string(depth) + ", " + visualClassName(visualClass)
        + ") cannot be read";
}

} // namespace quorvex
