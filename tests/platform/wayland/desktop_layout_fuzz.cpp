// What a compositor may say, from the fuzzer's bytes: outputs at any place, of any size and scale,
// and for each a buffer of any layout, turned any way; read as the screen-copy reader reads them.
// The sanitizers report any overflow or read past a buffer; the checks below, any refusal that
// disagrees with what is drawn.
#include "platform/wayland/desktop_layout.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

using namespace quorvex;

namespace {

class Bytes {
public:
    Bytes(const uint8_t* data, size_t size)
        : m_data(data)
        , m_left(size)
    {
    }
    uint32_t raw(int count)
    {
        uint32_t value = 0;
        for (int i = 0; i < count; ++i)
            value = value << 8 | (m_left > 0 ? (--m_left, *m_data++) : 0);
        return value;
    }
    // Mostly places and sizes a desktop has, sometimes any 32 bits.
    int32_t place() { return raw(1) < 0xe0 ? int32_t(raw(2) % 4000) - 1000 : int32_t(raw(4)); }
    int32_t size() { return raw(1) < 0xe0 ? int32_t(raw(2) % 3000) : int32_t(raw(4)); }

private:
    const uint8_t* m_data;
    size_t m_left;
};

void check(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Bytes in(data, size);
    std::vector<OutputPlace> outputs(in.raw(1) % 4 + 1);
    for (OutputPlace& output : outputs)
        output = {{in.place(), in.place(), in.size(), in.size()}, {in.size(), in.size()}};
    const Result<DesktopPicture> layout = desktopPicture(outputs);
    if (!layout)
        return 0;
    const PixelSize whole = layout->size;
    check(whole.width >= 0 && whole.height >= 0 && whole.width <= kMostPictureSide
        && whole.height <= kMostPictureSide);
    if (whole.width < 1 || whole.height < 1)
        return 0;

    // A small read somewhere in the picture, as the reader is asked for one.
    PixelRect wanted{int(in.raw(4) % uint32_t(whole.width)), int(in.raw(4) % uint32_t(whole.height)),
        int(in.raw(1) % 64 + 1), int(in.raw(1) % 64 + 1)};
    wanted = wanted.intersected({0, 0, whole.width, whole.height});
    std::vector<uint32_t> words(size_t(wanted.width) * size_t(wanted.height), 0);
    ScreenPixels picture{reinterpret_cast<unsigned char*>(words.data()), wanted.width, wanted.height,
        std::ptrdiff_t(wanted.width) * 4, nullptr};

    for (const OutputPlace& output : outputs) {
        const OutputRegion region = regionOfOutput(*layout, output, wanted);
        if (region.logical.isEmpty())
            continue;
        check(PixelRect{0, 0, whole.width, whole.height}.contains(region.inPicture));
        // The buffer the compositor sends for it, of exactly the bytes its numbers say.
        const int32_t width = int32_t(in.raw(2) % 300) - 2, height = int32_t(in.raw(2) % 300) - 2;
        const int32_t stride = in.raw(1) < 0xf0 ? width * 4 + int32_t(int8_t(in.raw(1))) : in.place();
        const bool refused = !checkOutputBuffer(width, height, stride).ok();
        std::vector<unsigned char> bytes(refused ? 1 : size_t(stride) * size_t(height), 0x5a);
        const ScreenPixels buffer{bytes.data(), width, height, stride, nullptr};
        const PixelRect place{region.inPicture.x - wanted.x, region.inPicture.y - wanted.y,
            region.inPicture.width, region.inPicture.height};
        const bool inverted = in.raw(1) & 1;
        const int transform = in.raw(1) < 0xf0 ? int(in.raw(1) % 8) : in.place();
        check(drawOutput(picture, place, buffer, inverted, transform).ok() != refused);
    }
    for (const uint32_t word : words)
        check(word == 0 || word == 0xff5a5a5au);
    return 0;
}
