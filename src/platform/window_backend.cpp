#include "platform/window_backend.h"

#include "capture/qt_screen_source.h"
#include "capture/qt_window_system.h"
#include "platform/screen_backend.h"
#include "platform/wayland/screencopy_screen_source.h"
#include "platform/x11/active_window.h"
#include "platform/x11/qt_x11_connection.h"
#include "platform/x11/x11_overlay_window_system.h"
#include "platform/x11/xcb_screen_source.h"

#include <QGuiApplication>

namespace quorvex {

namespace {

// Screen copy on Qt's Wayland platform (or when forced); null where the compositor offers none.
std::unique_ptr<ScreenSource> screencopySource()
{
    const SessionEnvironment session = SessionEnvironment::fromProcess();
    const bool wanted = session.forcedSource == "screencopy"
        || (session.forcedSource.empty()
            && QGuiApplication::platformName().startsWith(QLatin1String("wayland")));
    if (!wanted)
        return nullptr;
    ScreencopyReader::Opened opened = ScreencopyReader::connect(session.waylandDisplay);
    return opened.reader ? std::make_unique<ScreencopyScreenSource>(std::move(opened.reader)) : nullptr;
}

} // namespace

WindowBackend chooseWindowBackend()
{
    // A Wayland client can neither place nor shape its windows: the overlay stays unshaped there.
    if (std::unique_ptr<ScreenSource> screen = screencopySource())
        if (std::unique_ptr<ScreenSource> overlayScreen = screencopySource())
            return {std::move(screen), std::move(overlayScreen), std::make_unique<QtOverlayWindowSystem>(),
                std::make_unique<NoActiveWindowQuery>()};
    if (xcb_connection_t* x11 = qtX11Connection())
        return {std::make_unique<XcbScreenSource>(x11, false), std::make_unique<XcbScreenSource>(x11, true),
            std::make_unique<X11OverlayWindowSystem>(), std::make_unique<X11ActiveWindowQuery>()};
    return {std::make_unique<QtScreenSource>(), std::make_unique<QtScreenSource>(),
        std::make_unique<QtOverlayWindowSystem>(), std::make_unique<NoActiveWindowQuery>()};
}

} // namespace quorvex
