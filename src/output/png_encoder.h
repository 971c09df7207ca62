#pragma once

#include "common/result.h"

#include <cstddef>
#include <cstdint>
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

// Which rows an encoder takes: the whole picture, or one of the two parts of a picture that two
// encoders deflate at once, on two cores. The top part's bytes begin the file (its headers, then the
// top rows' data, flushed to a byte's end); the bottom part's bytes follow (the bottom rows' data,
// ending the deflate stream), then pngPartsEnd's (the checksum of both, and the file's end).
enum class PngPart { Whole, Top, Bottom };

// The first row of the bottom part where a width x height picture is worth encoding in two parts,
// else 0 (too small to gain from a second thread).
int pngBottomPartRow(int width, int height);

// Encodes a picture that arrives in bands of rows, top to bottom, as a lossless 8-bit RGB PNG
// (alpha is dropped), written to `sink` as it goes: a picture read from the screen in strips is
// encoded while the next strip is on its way, and neither it nor its file is ever held whole.
// Tuned for speed on screen content: the Up filter and ISA-L's fastest deflate.
class PngEncoder {
public:
    // Pictures wider or taller than 1000000 pixels are refused, as PNG readers refuse them.
    // `height` is the whole picture's. The encoder of the bottom part takes first the row just above
    // that part, which its first row is filtered against, then the part's own rows.
    PngEncoder(int width, int height, ByteSink& sink, PngPart part = PngPart::Whole);
    ~PngEncoder();
    PngEncoder(const PngEncoder&) = delete;
    PngEncoder& operator=(const PngEncoder&) = delete;

    // The next `count` rows, `stride` bytes apart. Rows past the picture's height are an error.
    void addRows(const unsigned char* rows, int count, std::ptrdiff_t stride);
    // Ends the file; a failure of the encoder (not of the sink's writes, which the sink keeps), or
    // missing rows, fail it.
    Status finish();

    // The Adler-32 checksum of the data a part's encoder deflated, and its length.
    uint32_t partChecksum() const;
    uint64_t partLength() const;

private:
    struct Private;
    std::unique_ptr<Private> d;
};

// The file's last bytes after the top and the bottom part's: the checksum of both parts' data, in an
// IDAT chunk of its own, and the IEND chunk.
std::vector<unsigned char> pngPartsEnd(const PngEncoder& top, const PngEncoder& bottom);

// The whole picture at once, into memory: the file's bytes.
Result<std::vector<unsigned char>> encodePng(const PixelRows& picture);

} // namespace quorvex
