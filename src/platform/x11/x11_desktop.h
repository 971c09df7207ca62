#pragma once

#include "common/area_selection.h"
#include "common/desktop_output.h"
#include "common/pointer_image.h"
#include "common/result.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct xcb_connection_t;
struct xcb_screen_t;

namespace quorvex {

// What the command line asks of an X screen beyond its pixels: its monitors, its windows and its
// pointer, over a connection of its own. Plain xcb, no Qt.
class X11Desktop {
public:
    // The screen the display name `display` names (DISPLAY); or why it cannot be opened.
    static Result<std::unique_ptr<X11Desktop>> connect(const std::string& display);
    ~X11Desktop();

    xcb_connection_t* connection() const;
    xcb_screen_t* screen() const;
    PixelSize size() const;

    // The monitors RandR knows, in the screen's pixels; the whole screen, named "screen", where it
    // knows none.
    std::vector<DesktopOutput> monitors() const;
    // The focused window with the frame its window manager draws round it, as far as it lies on the
    // screen: _NET_ACTIVE_WINDOW where the window manager keeps it, else the input focus.
    Result<PixelRect> activeWindow() const;
    // The topmost window shown at `point`, with its frame, as far as it lies on the screen; none
    // where only the desktop (the root window) is there.
    std::optional<PixelRect> windowAt(PixelPoint point) const;
    // The pointer as the screen shows it (XFixes), at its place.
    Result<PointerImage> pointer() const;
    // How many times larger than at 96 dpi the desktop draws its text (its Xft.dpi), at least 1.
    int textScale() const;

private:
    X11Desktop();
    struct Private;
    std::unique_ptr<Private> d;
};

// The text scale that X resources (RESOURCE_MANAGER's text) ask for: Xft.dpi over 96, to the nearest
// whole number; 1 where they set no Xft.dpi.
int textScaleOfResources(std::string_view resources);

} // namespace quorvex
