#pragma once

#include "capture/window_source.h"

namespace quorvex {

// The window the X desktop reports as active (_NET_ACTIVE_WINDOW) on Qt's connection; none when no
// window manager says or the program is not on X11.
ActiveWindow x11ActiveWindow();

} // namespace quorvex
