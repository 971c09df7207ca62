#include "platform/window_backend.h"

#include "capture/qt_screen_source.h"
#include "capture/qt_window_system.h"
#include "platform/portal/portal_protocol.h"
#include "platform/portal/portal_screen_source.h"
#include "platform/screen_backend.h"
#include "platform/still/still_overlay_window_system.h"
#include "platform/wayland/layer_shell_overlay_window_system.h"
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

// Where a Wayland client can neither place nor shape its windows, the overlay stands on a still
// picture of the desktop, and each of its grabs reads the live desktop with the still hidden.
WindowBackend stillBackend(std::unique_ptr<ScreenSource> screen, std::unique_ptr<ScreenSource> overlayScreen)
{
    auto still = std::make_shared<StillPicture>(std::move(overlayScreen));
    return {std::move(screen), std::make_unique<StillHidingScreenSource>(still),
        std::make_unique<StillOverlayWindowSystem>(still), std::make_unique<NoActiveWindowQuery>()};
}

// The overlay on layer-shell surfaces where the compositor offers them; on a still elsewhere.
WindowBackend screencopyBackend(const SessionEnvironment& session, std::unique_ptr<ScreenSource> screen,
    std::unique_ptr<ScreenSource> overlayScreen)
{
    LayerSurfaces::Opened opened = LayerSurfaces::connect(session.waylandDisplay);
    if (!opened.surfaces)
        return stillBackend(std::move(screen), std::move(overlayScreen));
    return {std::move(screen), std::move(overlayScreen),
        std::make_unique<LayerShellOverlayWindowSystem>(std::move(opened.surfaces)),
        std::make_unique<NoActiveWindowQuery>()};
}

std::unique_ptr<ScreenSource> portalSource()
{
    PortalReader::Opened opened = PortalReader::connect();
    return opened.reader ? std::make_unique<PortalScreenSource>(std::move(opened.reader)) : nullptr;
}

// Where the session's screen cannot be read at all: every grab says why, up front.
class UnreadableScreenSource final : public ScreenSource {
public:
    explicit UnreadableScreenSource(std::string reason)
        : m_reason(QString::fromStdString(reason))
    {
    }
    QImage grab(WId, bool, const QRect&) override { return {}; }
    QSize screenSize() const override { return {}; }
    QString unreadableReason() const override { return m_reason; }

private:
    QString m_reason;
};

// No overlay opens on a screen that cannot be read.
WindowBackend unreadableBackend(const std::string& reason)
{
    return {std::make_unique<UnreadableScreenSource>(reason),
        std::make_unique<UnreadableScreenSource>(reason), std::make_unique<QtOverlayWindowSystem>(),
        std::make_unique<NoActiveWindowQuery>()};
}

} // namespace

WindowBackend chooseWindowBackend()
{
    // The same choice as the command line's, from the same session.
    const SessionEnvironment session = SessionEnvironment::fromProcess();
    const ScreenSourceChoice choice = chooseScreenSource(session);
    const std::optional<ScreenSourceKind> kind = choice.kind;
    if (kind == ScreenSourceKind::Screencopy)
        if (std::unique_ptr<ScreenSource> screen = screencopySource(session))
            if (std::unique_ptr<ScreenSource> overlayScreen = screencopySource(session))
                return screencopyBackend(session, std::move(screen), std::move(overlayScreen));
    // The portal where it is forced, or where the compositor offers no screen copy.
    if (kind == ScreenSourceKind::Portal || (kind == ScreenSourceKind::Screencopy && !choice.forced)) {
        if (std::unique_ptr<ScreenSource> screen = portalSource())
            if (std::unique_ptr<ScreenSource> overlayScreen = portalSource())
                return stillBackend(std::move(screen), std::move(overlayScreen));
        return unreadableBackend(
            kind == ScreenSourceKind::Portal ? portalMissingMessage() : neitherScreenSourceMessage());
    }
    if (xcb_connection_t* x11 = qtX11Connection(); x11 && kind == ScreenSourceKind::X11)
        return {std::make_unique<XcbScreenSource>(x11, false), std::make_unique<XcbScreenSource>(x11, true),
            std::make_unique<X11OverlayWindowSystem>(), std::make_unique<X11ActiveWindowQuery>()};
    return {std::make_unique<QtScreenSource>(), std::make_unique<QtScreenSource>(),
        std::make_unique<QtOverlayWindowSystem>(), std::make_unique<NoActiveWindowQuery>()};
}

} // namespace quorvex
