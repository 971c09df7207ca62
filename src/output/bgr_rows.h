#pragma once

#include <cstdint>

// Pixel-row conversions between 32-bit 0xAARRGGBB pixels (Qt's and the X server's) and the three-byte
// blue-green-red rows of a device-independent bitmap, or the red-green-blue rows of a PNG.
namespace quorvex {

// `count` pixels of `source` to 3 x count bytes (blue, green, red) at `target`; alpha is dropped.
void rgb32ToBgrRow(const uint32_t* source, unsigned char* target, int count);

// `count` pixels of `row` to 3 x count bytes: each pixel's red, green and blue less those of the pixel
// of `above` below which it lies, modulo 256 (a PNG row's Up filter); alpha is dropped.
void rgb32ToUpFilteredRgbRow(const uint32_t* row, const uint32_t* above, unsigned char* target, int count);

// 3 x count bytes (blue, green, red) of `source` to `count` opaque pixels at `target`.
void bgrToRgb32Row(const unsigned char* source, uint32_t* target, int count);

} // namespace quorvex
