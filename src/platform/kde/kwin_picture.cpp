#include "platform/kde/kwin_picture.h"

#include "platform/screenshot_reader.h"

#include <bit>
#include <utility>

namespace quorvex {

namespace {

// QImage::Format numbers: 0xAARRGGBB words (RGB32, ARGB32, ARGB32 premultiplied; alpha is opaque on
// a screen), and R, G, B, A bytes in that order (RGBX8888, RGBA8888, RGBA8888 premultiplied).
constexpr std::uint32_t kWordFormats[] = {4, 5, 6};
constexpr std::uint32_t kByteFormats[] = {16, 17, 18};

template <std::size_t N> bool isOneOf(std::uint32_t format, const std::uint32_t (&formats)[N])
{
    for (std::uint32_t known : formats)
        if (format == known)
            return true;
    return false;
}

} // namespace

std::string kwinLayoutFailure(const KWinPictureLayout& layout)
{
    if (layout.type != "raw")
        return "KWin's screenshot came as '" + layout.type + "', not as raw pixels";
    if (!isOneOf(layout.format, kWordFormats) && !isOneOf(layout.format, kByteFormats))
        return "KWin's screenshot came in the pixel format " + std::to_string(layout.format)
            + ", which this program cannot read";
    const std::string size = std::to_string(layout.width) + " x " + std::to_string(layout.height);
    if (layout.width == 0 || layout.height == 0 || layout.width > 65535 || layout.height > 65535
        || (long long)layout.width * layout.height > kMostDesktopPixels)
        return "KWin's screenshot of " + size + " pixels is no desktop's";
    if (layout.stride % 4 != 0 || layout.stride < layout.width * 4ULL
        || layout.stride > layout.width * 4ULL + 4096)
        return "KWin's screenshot of " + size + " pixels came with rows of " + std::to_string(layout.stride)
            + " bytes";
    return {};
}

ScreenPixels kwinPixels(std::shared_ptr<unsigned char[]> bytes, const KWinPictureLayout& layout)
{
    unsigned char* bits = bytes.get();
    if (isOneOf(layout.format, kByteFormats))
        for (std::uint32_t y = 0; y < layout.height; ++y) {
            unsigned char* row = bits + std::size_t(y) * layout.stride;
            for (std::uint32_t x = 0; x < layout.width; ++x) {
                unsigned char* p = row + std::size_t(x) * 4;
                const std::uint32_t word
                    = 0xff000000u | std::uint32_t(p[0]) << 16 | std::uint32_t(p[1]) << 8 | p[2];
                for (int i = 0; i < 4; ++i)
                    p[i]
                        = std::endian::native == std::endian::little ? word >> (8 * i) : word >> (24 - 8 * i);
            }
        }
    return {bits, int(layout.width), int(layout.height), std::ptrdiff_t(layout.stride), std::move(bytes)};
}

} // namespace quorvex
