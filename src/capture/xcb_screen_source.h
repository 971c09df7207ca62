#pragma once

#include "capture/screen_source.h"

#include <memory>

struct xcb_connection_t;

namespace quorvex {

// Reads the X screen over xcb. A single grab is one GetImage whose reply becomes the picture's
// buffer as it is (the server's 32-bit layout is Format_RGB32 on little-endian machines). With
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
    bool usesSharedMemory() const;

private:
    struct Private;
    std::unique_ptr<Private> d;
};

} // namespace quorvex
