#pragma once

#include "platform/dbus/bus_helpers.h"
#include "platform/screenshot_reader.h"

#include <memory>

namespace quorvex {

// Reads the desktop through the desktop portal's non-interactive screenshot (GNOME, KDE, wlroots with
// xdg-desktop-portal-wlr) on a session-bus connection. Each screenshot is the whole desktop in device
// pixels; an area is cut from it. Only the portal's own answer is taken, and its file is deleted only
// where it was made for the request.
class PortalReader final : public ScreenshotReader {
public:
    struct Settings {
        // GNOME asks the person before the first screenshot, where no answer is stored.
        bool asksFirst = false;
        SayLine say;
    };
    PortalReader(bus::Connection connection, Settings settings);
    ~PortalReader() override;

private:
    Result<ScreenPixels> screenshot() override;

    struct Private;
    std::unique_ptr<Private> d;
};

// Whether the portal is on the bus, running or to be started by it.
bool portalOnBus(DBusConnection* connection);

} // namespace quorvex
