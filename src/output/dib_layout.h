#pragma once

#include <QtGlobal>

// The memory layout of a 24-bit device-independent bitmap: three bytes per pixel (blue, green,
// red), rows padded to a multiple of 4 bytes and stored bottom-up. BMP files hold the same bytes.
namespace quorvex {

// Field for field the BITMAPINFOHEADER record that describes such a pixel array.
struct BitmapInfoHeader {
    quint32 biSize = 0;
    qint32 biWidth = 0;
    qint32 biHeight = 0;
    quint16 biPlanes = 0;
    quint16 biBitCount = 0;
    quint32 biCompression = 0;
    quint32 biSizeImage = 0;
    qint32 biXPelsPerMeter = 0;
    qint32 biYPelsPerMeter = 0;
    quint32 biClrUsed = 0;
    quint32 biClrImportant = 0;
};

inline constexpr quint32 kBitmapInfoHeaderSize = 40;
inline constexpr quint32 kBiRgb = 0;

// Bytes per row: width x 3 rounded up to a multiple of 4, in signed 32-bit arithmetic. Throws
// NumberedError(kOverflowError) when the result does not fit.
int dibStride(int width);

// Bytes of the whole array (stride x height), with the same overflow rule.
int dibImageSize(int width, int height);

// Byte offset of pixel (x, y), y counted from the top of the image, in a bottom-up array.
inline qsizetype bottomUpOffset(int x, int y, int height, int stride)
{
    return qsizetype(height - 1 - y) * stride + qsizetype(3) * x;
}

} // namespace quorvex
