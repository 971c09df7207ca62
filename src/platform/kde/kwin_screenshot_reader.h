#pragma once

#include "platform/dbus/bus_helpers.h"
#include "platform/desktop_bus.h"
#include "platform/screenshot_reader.h"

#include <memory>

namespace quorvex {

// Reads a KDE Plasma desktop through KWin's screenshot interface (org.kde.KWin.ScreenShot2): the
// whole workspace (or the active window, as `capture` says) at its native resolution, without the
// pointer unless asked, its pixels through a pipe (no file).
// KWin answers only programs it authorises: an installed one whose desktop entry lists the interface
// in X-KDE-DBUS-Restricted-Interfaces.
class KWinScreenshotReader final : public ScreenshotReader {
public:
    KWinScreenshotReader(bus::Connection connection, KWinCapture capture = {});
    ~KWinScreenshotReader() override;

private:
    Result<ScreenPixels> screenshot() override;

    struct Private;
    std::unique_ptr<Private> d;
};

// The version of KWin's screenshot interface on the bus; 0 where there is none.
std::uint32_t kwinScreenshotVersion(DBusConnection* connection);

} // namespace quorvex
