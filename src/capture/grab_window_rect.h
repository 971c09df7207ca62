#pragma once

#include "capture/screen_source.h"

namespace quorvex {

// Copies a rectangle of a window (0: the desktop) into a new picture exactly width x height pixels.
// left and top count from the client area's corner when `client` is set, else from the outer
// frame's. A width or height below 1 gives an empty picture.
QImage GrabWindowRect(
    ScreenSource& screen, WId window, bool client, int left, int top, int width, int height);

// The frame the window system draws around one of our top-level windows (none for other windows):
// what lies between the outer corner and the client area's.
QMargins frameMarginsOf(WId window);

// Wraps grabbed pixels as the program's picture type. The palette of 256-colour displays has no
// counterpart here: X11 true-colour visuals carry their colours in the pixels.
QImage PictureFromBitmap(const QImage& bitmap);

} // namespace quorvex
