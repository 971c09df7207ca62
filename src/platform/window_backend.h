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

// Screen copy on Qt's Wayland platform where the compositor offers it (or QUORVEX7_SCREEN says
// screencopy); X11 over xcb on Qt's own connection when Qt runs on X11; Qt's own screen grab and an
// unshaped overlay on any other platform. Call it once the application object exists.
WindowBackend chooseWindowBackend();

} // namespace quorvex
