#pragma once

#include "capture/active_window_query.h"
#include "capture/overlay_window_system.h"
#include "capture/screen_source.h"

#include <memory>

// The one place that decides, from the session, what the window program reads the screen and runs
// the overlay through.
namespace quorvex {

struct WindowBackend {
    std::unique_ptr<ScreenSource> screen;
    std::unique_ptr<ScreenSource> overlayScreen; // the overlay grabs again and again: shared memory
    std::unique_ptr<OverlayWindowSystem> overlayWindows;
    std::unique_ptr<ActiveWindowQuery> activeWindow;
};

// The screen source chooseScreenSource picks for the session, as the command line reads it: screen
// copy where the compositor offers it (the overlay on layer-shell surfaces where it offers those
// too, on a still picture of the desktop where it does not), else the desktop portal (the overlay
// on a still), X11 over xcb on Qt's own connection; a source that says why where
// a Wayland session offers neither; Qt's own screen grab and an unshaped overlay elsewhere
// (offscreen). Call it once the application object exists.
WindowBackend chooseWindowBackend();

} // namespace quorvex
