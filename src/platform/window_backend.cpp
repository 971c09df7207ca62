#include "platform/window_backend.h"

#include "capture/qt_screen_source.h"
#include "capture/qt_window_system.h"
#include "platform/screen_backend.h"
#include "platform/wayland/layer_shell_overlay_window_system.h"
#include "platform/wayland/screencopy_screen_source.h"
#include "platform/x11/active_window.h"
#include "platform/x11/qt_x11_connection.h"
#include "platform/x11/x11_overlay_window_system.h"
#include "platform/x11/xcb_screen_source.h"

namespace quorvex {

namespace {

std::unique_ptr<ScreenSource> screencopySource(const SessionEnvironment& session,
    ScreencopyScreenSource::Rects rects = ScreencopyScreenSource::Rects::Picture)
{
    ScreencopyReader::Opened opened = ScreencopyReader::connect(session.waylandDisplay);
    return opened.reader ? std::make_unique<ScreencopyScreenSource>(std::move(opened.reader), rects)
                         : nullptr;
}

// The overlay on layer-shell surfaces where the compositor offers them; unshaped elsewhere.
std::unique_ptr<OverlayWindowSystem> waylandOverlayWindows(const SessionEnvironment& session)
{
    LayerSurfaces::Opened opened = LayerSurfaces::connect(session.waylandDisplay);
    if (!opened.surfaces)
        return std::make_unique<QtOverlayWindowSystem>();
    return std::make_unique<LayerShellOverlayWindowSystem>(std::move(opened.surfaces));
}

} // namespace

WindowBackend chooseWindowBackend()
{
    // The same choice as the command line's, from the same session.
    const SessionEnvironment session = SessionEnvironment::fromProcess();
    const std::optional<ScreenSourceKind> kind = chooseScreenSource(session).kind;
    if (kind == ScreenSourceKind::Screencopy)
        if (std::unique_ptr<ScreenSource> screen = screencopySource(session))
            // The overlay knows its place only in Qt's (the compositor's logical) coordinates.
            if (std::unique_ptr<ScreenSource> overlayScreen
                = screencopySource(session, ScreencopyScreenSource::Rects::Logical))
                return {std::move(screen), std::move(overlayScreen), waylandOverlayWindows(session),
                    std::make_unique<NoActiveWindowQuery>()};
    if (xcb_connection_t* x11 = qtX11Connection(); x11 && kind == ScreenSourceKind::X11)
        return {std::make_unique<XcbScreenSource>(x11, false), std::make_unique<XcbScreenSource>(x11, true),
            std::make_unique<X11OverlayWindowSystem>(), std::make_unique<X11ActiveWindowQuery>()};
    return {std::make_unique<QtScreenSource>(), std::make_unique<QtScreenSource>(),
        std::make_unique<QtOverlayWindowSystem>(), std::make_unique<NoActiveWindowQuery>()};
}

} // namespace quorvex
