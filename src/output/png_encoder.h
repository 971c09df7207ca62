#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

// PNG encoding over plain pixel buffers: no Qt type in the interface, so the command-line grab can
// use it without any Qt library and the window program can wrap a QImage around it.
namespace quorvex {

// Rows of 32-bit 0xXXRRGGBB words in the machine's byte order (X servers' and Qt's RGB32), `stride`
// bytes apart.
struct PixelRows {
    const unsigned char* top = nullptr;
    int width = 0;
    int height = 0;
    std::ptrdiff_t stride = 0;
};

// The encoded file, or an empty one with a one-line reason.
struct [[nodiscard]] EncodedPng {
    std::vector<unsigned char> bytes;
    std::string error;

    bool ok() const { return error.empty(); }
};

// Encodes a picture that arrives in bands of rows, top to bottom, as a lossless 8-bit RGB PNG
// (alpha is dropped): a picture read from the screen in strips is encoded while the next strip is
// on its way, and never held whole. Tuned for speed on screen content.
class PngEncoder {
public:
    PngEncoder(int width, int height);
    ~PngEncoder();
    PngEncoder(const PngEncoder&) = delete;
    PngEncoder& operator=(const PngEncoder&) = delete;

    // The next `count` rows, `stride` bytes apart. Rows past the picture's height are an error.
    void addRows(const unsigned char* rows, int count, std::ptrdiff_t stride);
    // The whole file; an error if a failure happened earlier or rows are missing.
    EncodedPng finish();

private:
    struct Private;
    std::unique_ptr<Private> d;
};

// The whole picture at once.
EncodedPng encodePng(const PixelRows& picture);

} // namespace quorvex
