#pragma once

#include "common/result.h"
#include "platform/clipboard_keeper.h"

#include <functional>
#include <string>
#include <vector>

namespace quorvex {

// Serves `offers` as the Wayland selection of the first seat of `display` where the compositor has no
// data control (GNOME), as wl-copy does there: a window of one transparent pixel shows just long
// enough to get the keyboard's focus, whose serial lets the selection be set, and goes. Calls `held`
// once the compositor has taken the selection; returns when another client has set it (and every
// transfer under way has ended), or why it could not be set.
Status serveWaylandClipboardWithFocus(
    const std::vector<ClipboardOffer>& offers, const std::string& display, const std::function<void()>& held);

} // namespace quorvex
