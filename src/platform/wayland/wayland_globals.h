#pragma once

#include "platform/desktop_offer.h"

#include <string>

namespace quorvex {

// What the compositor on the Wayland display `display` (WAYLAND_DISPLAY) offers, from one look at its
// globals on a connection of its own; or why it cannot be asked.
Result<WaylandGlobals> readWaylandGlobals(const std::string& display);

} // namespace quorvex
