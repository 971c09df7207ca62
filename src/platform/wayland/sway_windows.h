#pragma once

#include "common/pixel_rect.h"
#include "common/result.h"
#include "platform/wayland/json_value.h"

#include <optional>
#include <string>
#include <vector>

// sway's windows as its IPC tells them (its socket is SWAYSOCK): the focused one, and which lies on
// top where.
namespace quorvex {

struct SwayWindows {
    std::optional<PixelRect> focused; // the focused window's container, in the layout's logical pixels
    std::vector<PixelRect> shown; // every window shown, the topmost first
};

// The windows in sway's tree (the answer to GET_TREE).
SwayWindows swayWindows(const JsonValue& tree);

// sway's tree, asked over the IPC socket at `socketPath`; or why it could not be.
Result<SwayWindows> askSwayWindows(const std::string& socketPath);

} // namespace quorvex
