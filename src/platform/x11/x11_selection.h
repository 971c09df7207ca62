#pragma once

#include "common/area_selection.h"
#include "common/result.h"

namespace quorvex {

class X11Desktop;

// Shows the still that `painter` draws over the whole X screen, above every window (a window the
// window manager leaves alone, taking the pointer and the keyboard), and lets the user drag an area
// of it with a crosshair pointer. A click ends it only where `clicksPick`; otherwise it is no drag. The
// window is gone from the screen when this returns.
Result<AreaChoice> selectAreaOnX11(
    const X11Desktop& desktop, const SelectionPainter& painter, bool clicksPick);

} // namespace quorvex
