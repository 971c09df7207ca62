#pragma once

#include <cstdint>

// Pixel-row conversions between 32-bit 0xAARRGGBB pixels (Qt's and the X server's) and the three-byte
// blue-green-red rows of a device-independent bitmap.
namespace quorvex {

// `count` pixels of `source` to 3 x count bytes (blue, green, red) at `target`; alpha is dropped.
void rgb32ToBgrRow(const uint32_t* source, unsigned char* target, int count);

// 3 x count bytes (blue, green, red) of `source` to `count` opaque pixels at `target`.
void bgrToRgb32Row(const unsigned char* source, uint32_t* target, int count);

} // namespace quorvex
