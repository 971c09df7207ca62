#pragma once

#include "capture/overlay_window_system.h"
#include "capture/screen_source.h"
#include "capture/window_source.h"

#include <memory>

// The one place that opens, from what the desktop offers, what the window program reads the screen
// and runs the overlay through. It owns them; the main window reaches them through WindowServices.
namespace quorvex {

struct WindowBackend {
    std::unique_ptr<ScreenSource> screen;
    std::unique_ptr<ScreenSource> overlayScreen; // the overlay grabs again and again: shared memory
    std::unique_ptr<OverlayWindowSystem> overlayWindows;
    WindowSource* windows = nullptr; // the screen's own, where it reads windows too
    // A Wayland compositor offering data control: Save to Clipboard hands the picture to a keeper
    // process at once (KWin refuses a copy made while no window of ours has the keyboard, as after a
    // menu chosen by keyboard, whose popup had it).
    bool clipboardKeeper = false;
};

// The source describeDesktop offers first (or the forced one), as the command line reads it, with the
// frame that goes with it (DesktopOffer::frameFor): X11 over xcb on Qt's own connection with a shaped
// frame; on Wayland screen copy, KWin's screenshot where KWin lets this program use it, else the
// desktop portal, each with the frame on layer-shell surfaces where the compositor offers them (the
// frame hidden for each grab of the two that take a moment), else on a still picture of the desktop.
// A source that fails is reported by every grab, never replaced by another when forced; Qt's own
// screen grab and an unshaped frame only where Qt runs on no display system this program knows
// (offscreen). Call it once the application object exists.
WindowBackend chooseWindowBackend();

} // namespace quorvex
