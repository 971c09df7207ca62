#include "platform/window_backend.h"

#include "capture/qt_screen_source.h"
#include "capture/qt_window_system.h"
#include "platform/x11/active_window.h"
#include "platform/x11/qt_x11_connection.h"
#include "platform/x11/x11_overlay_window_system.h"
#include "platform/x11/xcb_screen_source.h"

namespace quorvex {

WindowBackend chooseWindowBackend()
{
    if (xcb_connection_t* x11 = qtX11Connection())
        return {std::make_unique<XcbScreenSource>(x11, false), std::make_unique<XcbScreenSource>(x11, true),
            std::make_unique<X11OverlayWindowSystem>(), std::make_unique<X11ActiveWindowQuery>()};
    return {std::make_unique<QtScreenSource>(), std::make_unique<QtScreenSource>(),
        std::make_unique<QtOverlayWindowSystem>(), std::make_unique<NoActiveWindowQuery>()};
}

} // namespace quorvex
