#include "platform/window_backend.h"

#include "capture/qt_screen_source.h"
#include "capture/qt_window_system.h"
#include "platform/screen_backend.h"
#include "platform/wayland/screencopy_screen_source.h"
#include "platform/x11/active_window.h"
#include "platform/x11/qt_x11_connection.h"
#include "platform/x11/x11_overlay_window_system.h"
#include "platform/x11/xcb_screen_source.h"

namespace quorvex {

namespace {

std::unique_ptr<ScreenSource> screencopySource(const SessionEnvironment& session)
{
    ScreencopyReader::Opened opened = ScreencopyReader::connect(session.waylandDisplay);
    return opened.reader ? std::make_unique<ScreencopyScreenSource>(std::move(opened.reader)) : nullptr;
}

} // namespace

WindowBackend chooseWindowBackend()
{
    // The same choice as the command line's, from the same session.
    const SessionEnvironment session = SessionEnvironment::fromProcess();
    const std::optional<ScreenSourceKind> kind = chooseScreenSource(session).kind;
    // A Wayland client can neither place nor shape its windows: the overlay stays unshaped there.
    if (kind == ScreenSourceKind::Screencopy)
        if (std::unique_ptr<ScreenSource> screen = screencopySource(session))
            if (std::unique_ptr<ScreenSource> overlayScreen = screencopySource(session))
                return {std::move(screen), std::move(overlayScreen),
                    std::make_unique<QtOverlayWindowSystem>(), std::make_unique<NoActiveWindowQuery>()};
    if (xcb_connection_t* x11 = qtX11Connection(); x11 && kind == ScreenSourceKind::X11)
        return {std::make_unique<XcbScreenSource>(x11, false), std::make_unique<XcbScreenSource>(x11, true),
            std::make_unique<X11OverlayWindowSystem>(), std::make_unique<X11ActiveWindowQuery>()};
    return {std::make_unique<QtScreenSource>(), std::make_unique<QtScreenSource>(),
        std::make_unique<QtOverlayWindowSystem>(), std::make_unique<NoActiveWindowQuery>()};
}

} // namespace quorvex
