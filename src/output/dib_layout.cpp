#include "output/dib_layout.h"

#include "output/numbered_error.h"

#include <limits>

namespace quorvex {

namespace {

int checkedInt(int64_t value)
{
    if (value > std::numeric_limits<int>::max() || value < std::numeric_limits<int>::min())
        throw NumberedError(kOverflowError, errorSource("cDIBSection"), "Overflow");
    return static_cast<int>(value);
}

} // namespace

int dibStride(int width)
{
    // Clearing the two low bits rounds toward minus infinity, so this is the ceiling for any sign.
    return checkedInt(int64_t(width) * 3 + 3) & ~3;
}

int dibImageSize(int width, int height)
{
    return checkedInt(int64_t(dibStride(width)) * height);
}

BitmapInfoHeader dibHeader(int width, int height)
{
    BitmapInfoHeader header;
    header.biSize = kBitmapInfoHeaderSize;
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = kBiRgb;
    header.biSizeImage = uint32_t(dibImageSize(width, height));
    return header;
}

} // namespace quorvex
