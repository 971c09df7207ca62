#pragma once

// The two things the overlay needs to know of the X server beyond what Qt says.
namespace quorvex {

// Whether windows can be cut to a shape here: the xcb platform with the X SHAPE extension. False on
// other platforms (offscreen, Wayland) and on X servers without it.
bool displaySupportsShaping();

// Returns once the X server has handled every request sent so far on Qt's connection (a round trip),
// so a change of a window's shape is in force before the screen is read. Does nothing off X11.
void waitForDisplayServer();

} // namespace quorvex
