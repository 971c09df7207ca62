#pragma once

#include "common/result.h"
#include "platform/clipboard_keeper.h"

#include <functional>
#include <string>
#include <vector>

namespace quorvex {

// Serves `offers` as the Wayland selection of the first seat of `display` (empty: $WAYLAND_DISPLAY)
// through the compositor's data control (zwlr_data_control_manager_v1), which needs no window nor
// keyboard focus. Calls `held` once the compositor has taken the selection. Returns when another
// client has set the selection (and every transfer under way has ended), or why it could not be set.
// Where the compositor offers no data control, returns what `withoutDataControl` does instead.
Status serveWaylandClipboard(const std::vector<ClipboardOffer>& offers, const std::string& display,
    const std::function<void()>& held, const std::function<Status()>& withoutDataControl);

} // namespace quorvex
