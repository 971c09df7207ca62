#pragma once

#include "capture/screen_reader.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

struct xcb_connection_t;
struct xcb_screen_t;

namespace quorvex {

// Reads the X screen over xcb, as plain buffers. A read is one GetImage whose reply becomes the
// buffer when the server's layout already is 0x00RRGGBB words, and is converted from the screen's
// true-colour layout (16, 15, 30 bits...) otherwise. With `sharedMemory`, reads go through MIT-SHM
// segments that are kept and reused: the fast path for the overlay's repeated grabs, and plain
// GetImage where the extension is missing (remote displays).
class XcbScreenReader final : public ScreenReader {
public:
    // Reads screen `screenNumber` (the one DISPLAY names) through `connection`, which it borrows
    // (Qt's, in the window program, so requests stay in order with its windows).
    XcbScreenReader(xcb_connection_t* connection, bool sharedMemory, int screenNumber);
    // On a connection of its own to the X display `display`, reading the screen it names (":0.1"
    // its second); null when it cannot be opened, unreadable when it has no such screen.
    static std::unique_ptr<XcbScreenReader> connect(const std::string& display, bool sharedMemory);
    ~XcbScreenReader() override;
    XcbScreenReader(const XcbScreenReader&) = delete;
    XcbScreenReader& operator=(const XcbScreenReader&) = delete;

    PixelSize desktopSize() const override;
    Status readable() const override;
    ScreenPixels readDesktop(const PixelRect& rect) override;
    bool readDesktopInBands(const PixelRect& rect, int bandRows, const BandSink& band) override;
    // Where no segments are kept for repeated reads: xcb serves threads, and each band read has
    // segments of its own.
    bool readsTwoRectanglesAtOnce() const override;

    bool usesSharedMemory() const;
    // The size of window `drawable` (0: the desktop); nullopt when it is gone.
    std::optional<PixelSize> drawableSize(uint32_t drawable) const;
    // `rect` of window `drawable` (0: the desktop), inside it; empty when the read fails.
    ScreenPixels read(uint32_t drawable, const PixelRect& rect);

private:
    struct Private;
    std::unique_ptr<Private> d;
};

// Screen `number` of the X server at the other end of `connection`; null when it has none.
xcb_screen_t* xcbScreen(xcb_connection_t* connection, int number);

// The screen an X display name (DISPLAY) names: 1 for ":0.1", 0 where it names none.
int screenNumberOf(const std::string& display);

} // namespace quorvex
