#include "common/pointer_image.h"

namespace quorvex {

namespace {

// `over` (premultiplied) over the opaque `under`.
uint32_t blend(uint32_t over, uint32_t under)
{
    const uint32_t alpha = over >> 24;
    if (alpha == 255)
        return over | 0xff000000u;
    const uint32_t rest = 255 - alpha;
    uint32_t result = 0xff000000u;
    for (const int shift : {0, 8, 16}) {
        const uint32_t value = ((over >> shift) & 0xff) + (((under >> shift) & 0xff) * rest + 127) / 255;
        result |= std::min<uint32_t>(value, 255) << shift;
    }
    return result;
}

} // namespace

void drawPointer(
    const PointerImage& pointer, unsigned char* rows, std::ptrdiff_t stride, const PixelRect& rowsPlace)
{
    const PixelRect& place = pointer.place;
    if (pointer.pixels.size() < size_t(std::max(0, place.width)) * size_t(std::max(0, place.height)))
        return;
    const PixelRect part = place.intersected(rowsPlace);
    for (int y = part.y; y < part.y + part.height; ++y) {
        const uint32_t* in = pointer.pixels.data() + size_t(y - place.y) * size_t(place.width);
        auto* out = reinterpret_cast<uint32_t*>(rows + std::ptrdiff_t(y - rowsPlace.y) * stride);
        for (int x = part.x; x < part.x + part.width; ++x)
            if (const uint32_t word = in[x - place.x]; word >> 24)
                out[x - rowsPlace.x] = blend(word, out[x - rowsPlace.x]);
    }
}

} // namespace quorvex
