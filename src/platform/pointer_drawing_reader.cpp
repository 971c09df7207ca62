#include "platform/pointer_drawing_reader.h"

#include <cstring>
#include <new>
#include <vector>

namespace quorvex {

namespace {

// A copy of `rows` rows of `width` pixels, packed, that may be drawn on.
std::shared_ptr<uint32_t[]> copyOf(const unsigned char* bits, std::ptrdiff_t stride, int width, int rows)
{
    std::shared_ptr<uint32_t[]> copy(new (std::nothrow) uint32_t[size_t(width) * size_t(rows)]);
    if (!copy)
        return nullptr;
    for (int y = 0; y < rows; ++y)
        std::memcpy(copy.get() + size_t(y) * size_t(width), bits + y * stride, size_t(width) * 4);
    return copy;
}

} // namespace

PointerDrawingReader::PointerDrawingReader(std::unique_ptr<ScreenReader> inner, PointerImage pointer)
    : m_inner(std::move(inner))
    , m_pointer(std::move(pointer))
{
}

ScreenPixels PointerDrawingReader::readDesktop(const PixelRect& rect)
{
    ScreenPixels pixels = m_inner->readDesktop(rect);
    if (pixels.isEmpty() || m_pointer.place.intersected(rect).isEmpty())
        return pixels;
    const std::shared_ptr<uint32_t[]> copy = copyOf(pixels.bits, pixels.stride, pixels.width, pixels.height);
    if (!copy)
        return {};
    ScreenPixels drawn{reinterpret_cast<unsigned char*>(copy.get()), pixels.width, pixels.height,
        std::ptrdiff_t(pixels.width) * 4, copy};
    drawPointer(m_pointer, drawn.bits, drawn.stride, rect);
    return drawn;
}

bool PointerDrawingReader::readDesktopInBands(const PixelRect& rect, int bandRows, const BandSink& band)
{
    int top = rect.y;
    std::vector<uint32_t> scratch;
    return m_inner->readDesktopInBands(
        rect, bandRows, [&](const unsigned char* rows, int count, std::ptrdiff_t stride) {
            const PixelRect place{rect.x, top, rect.width, count};
            top += count;
            if (m_pointer.place.intersected(place).isEmpty()) {
                band(rows, count, stride);
                return;
            }
            scratch.resize(size_t(rect.width) * size_t(count));
            for (int y = 0; y < count; ++y)
                std::memcpy(scratch.data() + size_t(y) * size_t(rect.width), rows + y * stride,
                    size_t(rect.width) * 4);
            auto* bits = reinterpret_cast<unsigned char*>(scratch.data());
            drawPointer(m_pointer, bits, std::ptrdiff_t(rect.width) * 4, place);
            band(bits, count, std::ptrdiff_t(rect.width) * 4);
        });
}

} // namespace quorvex
