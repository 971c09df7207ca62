#pragma once

#include "capture/screen_source.h"
#include "capture/window_source.h"

namespace quorvex {

// Copies a rectangle of a window into a new picture exactly width x height pixels. left and top
// count from the client area's corner when `client` is set, else from the outer frame's. A width or
// height below 1 gives an empty picture.
QImage GrabWindowRect(
    WindowSource& windows, WId window, bool client, int left, int top, int width, int height);

// The same for a rectangle of the desktop.
Result<QImage> grabDesktopRect(ScreenSource& screen, const QRect& rect);

// `rect` measured from the window's client-area corner: as given when `clientArea` is set or for the
// desktop, else moved by the frame the window system draws around one of our top-level windows.
QRect clientAreaRect(WId window, bool clientArea, const QRect& rect);

} // namespace quorvex
