#pragma once

#include "common/result.h"

#include <cstddef>
#include <memory>
#include <vector>

// PNG encoding over plain pixel buffers: no Qt type in the interface, so the command-line grab can
// use it without any Qt library and the window program can wrap a QImage around it.
namespace quorvex {

class ByteSink;

// Rows of 32-bit 0xXXRRGGBB words in the machine's byte order (X servers' and Qt's RGB32), `stride`
// bytes apart.
struct PixelRows {
    const unsigned char* top = nullptr;
    int width = 0;
    int height = 0;
    std::ptrdiff_t stride = 0;
};

// Encodes a picture that arrives in bands of rows, top to bottom, as a lossless 8-bit RGB PNG
// (alpha is dropped), written to `sink` as it goes: a picture read from the screen in strips is
// encoded while the next strip is on its way, and neither it nor its file is ever held whole.
// Tuned for speed on screen content: the Up filter and ISA-L's fastest deflate.
class PngEncoder {
public:
    // Pictures wider or taller than 1000000 pixels are refused, as PNG readers refuse them.
    PngEncoder(int width, int height, ByteSink& sink);
    ~PngEncoder();
    PngEncoder(const PngEncoder&) = delete;
    PngEncoder& operator=(const PngEncoder&) = delete;

    // The next `count` rows, `stride` bytes apart. Rows past the picture's height are an error.
    void addRows(const unsigned char* rows, int count, std::ptrdiff_t stride);
    // Ends the file; a failure of the encoder (not of the sink's writes, which the sink keeps), or
    // missing rows, fail it.
    Status finish();

private:
    struct Private;
    std::unique_ptr<Private> d;
};

// The whole picture at once, into memory: the file's bytes.
Result<std::vector<unsigned char>> encodePng(const PixelRows& picture);

} // namespace quorvex
