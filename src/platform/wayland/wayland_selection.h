#pragma once

#include "common/area_selection.h"
#include "common/result.h"

#include <string>

namespace quorvex {

// Shows the still that `painter` draws on every output of the Wayland display `display`
// (WAYLAND_DISPLAY; empty: the default one) and lets the user drag an area of it with a crosshair
// pointer: on layer-shell surfaces above every window, taking the keyboard (wlroots, KWin), or where
// the compositor has no layer shell (GNOME), on a full-screen window on each output. The painter's
// picture covers the outputs' layout. A click ends it only where `clicksPick`. The surfaces are gone
// when this returns.
Result<AreaChoice> selectAreaOnWayland(
    const std::string& display, const SelectionPainter& painter, bool clicksPick);

} // namespace quorvex
