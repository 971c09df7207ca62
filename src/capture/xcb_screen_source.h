#pragma once

#include "capture/screen_source.h"

#include <functional>
#include <memory>

struct xcb_connection_t;

namespace quorvex {

// Reads the X screen over xcb. A single grab is one GetImage whose reply becomes the picture's
// buffer as it is when the server's layout is Format_RGB32's (32-bit 0x00RRGGBB), and is converted
// from the screen's true-colour layout (16, 15, 30 bits...) otherwise. With
// `sharedMemory`, grabs go through one MIT-SHM segment that is kept and reused: the fast path for
// the overlay's repeated grabs, and plain GetImage where the extension is missing (remote displays).
class XcbScreenSource final : public ScreenSource {
public:
    // Borrows `connection` (Qt's, in the program, so requests stay in order with its windows).
    XcbScreenSource(xcb_connection_t* connection, bool sharedMemory);
    ~XcbScreenSource() override;
    XcbScreenSource(const XcbScreenSource&) = delete;
    XcbScreenSource& operator=(const XcbScreenSource&) = delete;

    // Qt's connection on X11, or null on any other platform.
    static xcb_connection_t* qtConnection();

    QImage grab(WId window, bool clientArea, const QRect& rect) override;
    QSize screenSize() const override;
    QString unreadableReason() const override;
    bool usesSharedMemory() const;

    // Reads `rect` of the desktop (inside the screen) in bands of `bandRows` rows, top to bottom,
    // handing each band to `band` while the next one is on its way: a picture can go to a file
    // without ever being held whole. Rows are 32-bit 0xAARRGGBB words. False when the display keeps
    // another layout or a read fails.
    using BandSink = std::function<void(const uchar* rows, int count, qsizetype bytesPerLine)>;
    bool readDesktopInBands(const QRect& rect, int bandRows, const BandSink& band);

private:
    struct Private;
    std::unique_ptr<Private> d;
};

} // namespace quorvex
