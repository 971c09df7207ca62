#pragma once

#include "capture/overlay_window_system.h"
#include "capture/screen_source.h"
#include "capture/window_source.h"

namespace quorvex {

class MessageBoxes;
class PictureClipboard;
class Printer;
class SaveFileDialog;
class UrlOpener;
class WallClock;

// Everything the main window reaches outside itself, by name: what the display system offers and
// the desktop's services. The program builds its own once (ProgramServices); tests fill one with
// stand-ins.
struct WindowServices {
    ScreenSource& screen;
    ScreenSource& overlayScreen; // the overlay grabs again and again: the shared-memory path
    OverlayWindowSystem& overlayWindows;
    WindowSource* windows; // none where no window can be read (Wayland)
    MessageBoxes& messages;
    UrlOpener& urls;
    WallClock& clock;
    SaveFileDialog& saveDialog;
    Printer& printer; // lives as long as the window: a page-fit print's orientation stays for later prints
    PictureClipboard& clipboard;
};

} // namespace quorvex
