#pragma once

#include "capture/active_window_query.h"

namespace quorvex {

// The window the X desktop reports as active (_NET_ACTIVE_WINDOW) on Qt's connection; none when no
// window manager says or the program is not on X11.
class X11ActiveWindowQuery final : public ActiveWindowQuery {
public:
    ActiveWindow activeWindow() override;
};

} // namespace quorvex
