#pragma once

#include "common/pixel_rect.h"
#include "common/result.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <string>

// Reading the desktop's pixels as plain buffers: what the command-line grab uses, with no GUI
// library, and what the window program's screen sources wrap in pictures.
namespace quorvex {

// Rows of 32-bit 0x00RRGGBB words in the machine's byte order (Qt's RGB32), `stride` bytes apart.
// `keeper` holds the memory (a server reply, a shared-memory segment, a converted copy) for as long
// as any copy of it lives. Empty when nothing was read.
struct ScreenPixels {
    unsigned char* bits = nullptr;
    int width = 0;
    int height = 0;
    std::ptrdiff_t stride = 0;
    std::shared_ptr<void> keeper;

    bool isEmpty() const { return bits == nullptr; }
};

class ScreenReader {
public:
    virtual ~ScreenReader() = default;

    // The whole desktop's size in pixels.
    virtual PixelSize desktopSize() const = 0;

    // Whether this screen can be read at all: not a palette display, say.
    virtual Status readable() const { return {}; }

    // `rect` of the desktop, which lies inside it; empty when the read fails.
    virtual ScreenPixels readDesktop(const PixelRect& rect) = 0;

    // Reads `rect` in bands of `bandRows` rows, top to bottom, handing each band to `band` while
    // the next one is on its way, so a picture can go to a file without ever being held whole.
    // False when a read fails or this reader cannot read in bands (then readDesktop does).
    using BandSink = std::function<void(const unsigned char* rows, int count, std::ptrdiff_t stride)>;
    virtual bool readDesktopInBands(const PixelRect& rect, int bandRows, const BandSink& band)
    {
        (void)rect, (void)bandRows, (void)band;
        return false;
    }

    // Whether two threads may read two rectangles at once (readDesktopInBands, or readDesktop where
    // it reads no bands), each as fast as one alone: a picture can then be encoded in two parts.
    virtual bool readsTwoRectanglesAtOnce() const { return false; }
};

} // namespace quorvex
