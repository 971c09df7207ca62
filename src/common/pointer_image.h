#pragma once

#include "common/pixel_rect.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// The mouse pointer as a plain picture, for drawing it into a grab that the screen gave without it.
namespace quorvex {

// The pointer's image where the desktop shows it: `place` in the desktop picture's pixels (its
// hot spot already taken off), `pixels` premultiplied 0xAARRGGBB words, row after row.
struct PointerImage {
    PixelRect place;
    std::vector<uint32_t> pixels;
};

// Draws the part of `pointer` that falls on `rows` (0x00RRGGBB words, `stride` bytes apart), which
// hold the part `rowsPlace` of the desktop picture. Each pixel of the pointer covers the screen's by
// its alpha; the result is opaque.
void drawPointer(
    const PointerImage& pointer, unsigned char* rows, std::ptrdiff_t stride, const PixelRect& rowsPlace);

} // namespace quorvex
