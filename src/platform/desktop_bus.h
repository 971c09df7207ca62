#pragma once

#include "common/result.h"
#include "platform/desktop_offer.h"
#include "platform/screenshot_reader.h"

#include <memory>

namespace quorvex {

// The desktop services on the session bus that read the screen (KWin's screenshot interface, the
// desktop portal), on one connection. The command line has it from a module it loads only when it
// needs the bus (see desktop_bus_module.h), so its other grabs never load the D-Bus library.
// What KWin's screenshot takes: the whole workspace or the active window (with its decoration), with or
// without the pointer.
struct KWinCapture {
    bool activeWindow = false;
    bool pointer = false;
};

class DesktopBus {
public:
    virtual ~DesktopBus() = default;

    virtual BusServices services() = 0;
    // Readers on this connection; neither has taken a screenshot yet.
    virtual std::unique_ptr<ScreenshotReader> kwinScreenshot(KWinCapture capture = {}) = 0;
    // `asksFirst`: the desktop asks the person before the first screenshot (GNOME); `say` is told so
    // once, and where a portal's picture had to be kept.
    virtual std::unique_ptr<ScreenshotReader> portal(bool asksFirst, SayLine say) = 0;
};

// The session bus; where there is none, one with nothing on it.
std::unique_ptr<DesktopBus> connectDesktopBus();

} // namespace quorvex
