#pragma once

#include <QSize>
#include <qwindowdefs.h>

namespace quorvex {

// The window the X desktop reports as active (_NET_ACTIVE_WINDOW) and its size; window 0 when
// there is none, no window manager says, or the program is not on X11.
struct ActiveWindow {
    WId window = 0;
    QSize size;
};
ActiveWindow activeX11Window();

} // namespace quorvex
