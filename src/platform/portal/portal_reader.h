#pragma once

#include "capture/screen_reader.h"
#include "platform/portal/portal_picture_file.h"

#include <memory>
#include <string>

namespace quorvex {

// Reads the desktop through the desktop portal's non-interactive screenshot (GNOME, KDE, wlroots
// with xdg-desktop-portal-wlr), on a session-bus connection of its own. Each screenshot is a whole
// desktop in device pixels; an area is cut from it.
class PortalReader final : public ScreenReader {
public:
    // Null with the reason when there is no session bus or no portal on it.
    struct Opened {
        std::unique_ptr<PortalReader> reader;
        std::string failure;
    };
    static Opened connect(PortalFilePlaces places = PortalFilePlaces::fromProcess());
    ~PortalReader() override;

    // Asks the portal for a screenshot now and keeps it; empty when it came, else why not.
    std::string takeScreenshot();
    bool hasScreenshot() const;
    // The last screenshot's size (none yet: 0 x 0).
    PixelSize desktopSize() const override;
    // `rect` of the kept screenshot, taken now if there is none; each screenshot serves one read.
    ScreenPixels readDesktop(const PixelRect& rect) override;
    // Why the last screenshot failed; empty when it did not.
    const std::string& lastFailure() const;

private:
    PortalReader();
    struct Private;
    std::unique_ptr<Private> d;
};

} // namespace quorvex
