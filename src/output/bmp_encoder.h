#pragma once

#include "common/result.h"
#include "output/byte_sink.h"
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
// existing file at `path`. No pixels write nothing and fail.
Status writeBmpFile(const BitmapInfoHeader& info, const unsigned char* pixels, const std::string& path);

// A BMP file written to `sink` as a picture's 32-bit 0xAARRGGBB rows arrive top to bottom, as a grab
// read in strips: each band goes straight to its place in the bottom-up file, so neither the picture
// nor its file is ever held whole.
class BmpBandWriter {
public:
    // Throws NumberedError(kOverflowError) when the pixel array does not fit in 32 bits,
    // std::bad_alloc when a band does not fit in memory.
    BmpBandWriter(int width, int height, ByteSink& sink);

    void addRows(const unsigned char* rows, int count, std::ptrdiff_t stride);
    // Fails when rows are missing or too many came (the sink keeps its own failures).
    Status finish() const;

private:
    BitmapInfoHeader m_info;
    ByteSink& m_sink;
    int m_stride = 0; // of a row in the file
    std::vector<unsigned char> m_band; // rows in the file's order, their padding zero
    int m_nextRow = 0;
    bool m_tooMany = false;
};

} // namespace quorvex
