#pragma once

#include "capture/screen_reader.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace quorvex {

// How a display server lays out the pixels of a true-colour screen in its image replies: the
// bits of each pixel, their byte order, which bits hold each channel, and the padding of a row.
struct VisualLayout {
    int bitsPerPixel = 32; // 8, 16, 24 or 32
    bool mostSignificantByteFirst = false;
    uint32_t redMask = 0xff0000;
    uint32_t greenMask = 0xff00;
    uint32_t blueMask = 0xff;
    int scanlinePad = 32; // each row is padded to a multiple of this many bits

    bool operator==(const VisualLayout&) const = default;
};

// Whether rows in this layout can be turned into 0x00RRGGBB words: each channel one run of 1 to 16
// bits, the three apart, inside the pixel.
bool canConvert(const VisualLayout& layout);

// Whether the bytes already are 0x00RRGGBB words in this machine's byte order, so
// a reply can become a picture without a copy.
bool isRgb32AsIs(const VisualLayout& layout);

// Bytes in one row of `width` pixels, padding included; 0 when the layout is unusable or the row
// would not fit in memory.
std::ptrdiff_t bytesPerRow(const VisualLayout& layout, int width);

// Turns `height` rows of `width` pixels, `sourceStride` bytes apart, into new 0x00RRGGBB rows. Channels
// narrower than 8 bits are widened by repeating their bits (31 of 5 bits is 255, 16 is 132); wider ones keep
// their top 8 bits. Empty when the layout cannot be converted or there is no memory for the picture.
ScreenPixels convertToXrgb32(const VisualLayout& layout, const unsigned char* source,
    std::ptrdiff_t sourceStride, int width, int height);

// The words users read for an X visual class ("PseudoColor"), and the one-line reason a screen of
// that depth and class cannot be read.
std::string visualClassName(int visualClass);
std::string unreadablePixelFormat(int depth, int visualClass);

} // namespace quorvex
