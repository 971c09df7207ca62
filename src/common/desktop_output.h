#pragma once

#include "common/pixel_rect.h"

#include <string>

namespace quorvex {

// One monitor of the desktop, as --list-outputs shows it and --output grabs it.
struct DesktopOutput {
    std::string name; // the desktop's own name for it: "HDMI-1", "eDP-1"
    PixelRect desktop; // its place and size in desktop (logical) coordinates
    double scale = 1; // its device pixels per desktop pixel
    PixelRect picture; // where it lies in a grab of the whole desktop (what --region takes)
};

} // namespace quorvex
