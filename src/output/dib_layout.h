#pragma once

#include <cstddef>
#include <cstdint>

// The memory layout of a 24-bit device-independent bitmap: three bytes per pixel (blue, green,
// red), rows padded to a multiple of 4 bytes and stored bottom-up. BMP files hold the same bytes.
namespace quorvex {

// Field for field the BITMAPINFOHEADER record that describes such a pixel array.
struct BitmapInfoHeader {
    uint32_t biSize = 0;
    int32_t biWidth = 0;
    int32_t biHeight = 0;
    uint16_t biPlanes = 0;
    uint16_t biBitCount = 0;
    uint32_t biCompression = 0;
    uint32_t biSizeImage = 0;
    int32_t biXPelsPerMeter = 0;
    int32_t biYPelsPerMeter = 0;
    uint32_t biClrUsed = 0;
    uint32_t biClrImportant = 0;
};

inline constexpr uint32_t kBitmapInfoHeaderSize = 40;
inline constexpr uint32_t kBiRgb = 0;

// Bytes per row: width x 3 rounded up to a multiple of 4, in signed 32-bit arithmetic. Throws
// NumberedError(kOverflowError) when the result does not fit.
int dibStride(int width);

// Bytes of the whole array (stride x height), with the same overflow rule.
int dibImageSize(int width, int height);

// The header of a width x height array: 24 bits, no compression, bottom-up; the same overflow rule.
BitmapInfoHeader dibHeader(int width, int height);

// Byte offset of pixel (x, y), y counted from the top of the image, in a bottom-up array.
inline std::ptrdiff_t bottomUpOffset(int x, int y, int height, int stride)
{
    return std::ptrdiff_t(height - 1 - y) * stride + std::ptrdiff_t(3) * x;
}

} // namespace quorvex
