#pragma once

#include <QPoint>
#include <optional>
#include <qwindowdefs.h>

// The two things the overlay needs to know of the X server beyond what Qt says.
namespace quorvex {

// Whether windows can be cut to a shape here: the xcb platform with the X SHAPE extension. False on
// other platforms (offscreen, Wayland) and on X servers without it.
bool displaySupportsShaping();

// Returns once the X server has handled every request sent so far on Qt's connection (a round trip),
// so a change of a window's shape is in force before the screen is read. Does nothing off X11.
void waitForDisplayServer();

// A reparenting window manager copies a shaped window's shape onto its own frame window, in its own
// time; until it has, the screen still shows what the old shape let through. Waits, at most
// `timeoutMs`, until the frame around `window` has the window's present shape. Returns at once
// without a window manager and off X11.
void waitForWindowManagerShape(WId window, int timeoutMs);

// Where `window`'s top-left corner lies on the root window, in the X server's (device) pixels;
// nothing off X11 or when the server does not answer.
std::optional<QPoint> windowPlaceOnDesktop(WId window);

} // namespace quorvex
