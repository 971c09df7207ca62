#pragma once

#include "output/dib_layout.h"
#include "output/safe_file_replace.h"

#include <array>
#include <cstddef>
#include <string>
#include <vector>

// 24-bit BMP files over plain buffers: the two headers and the bottom-up rows of a DIB.
namespace quorvex {

inline constexpr int kBmpHeadersSize = 14 + 40;

// BITMAPFILEHEADER and BITMAPINFOHEADER of a BMP file whose pixel rows are the array `info`
// describes.
std::array<unsigned char, kBmpHeadersSize> bmpFileHeaders(const BitmapInfoHeader& info);

// Writes the headers and `pixels` (info.biSizeImage bytes) in one write, safely replacing an
// existing file at `path`. No pixels write nothing and fail with EINVAL.
FileWriteResult writeBmpFile(
    const BitmapInfoHeader& info, const unsigned char* pixels, const std::string& path);

// A BMP picture built from 32-bit 0xAARRGGBB rows arriving top to bottom, as a grab read in
// strips: each band goes straight to its place in the bottom-up array.
class BmpRows {
public:
    // Throws NumberedError(kOverflowError) when the array does not fit in 32 bits, std::bad_alloc
    // when it does not fit in memory.
    BmpRows(int width, int height);

    void addRows(const unsigned char* rows, int count, std::ptrdiff_t stride);
    const BitmapInfoHeader& info() const { return info_; }
    const unsigned char* pixels() const { return pixels_.data(); }

private:
    BitmapInfoHeader info_;
    std::vector<unsigned char> pixels_;
    int nextRow_ = 0;
};

} // namespace quorvex
