#include "platform/window_backend.h"

#include "capture/qt_screen_source.h"
#include "capture/qt_window_system.h"
#include "platform/screen_backend.h"
#include "platform/screenshot_screen_source.h"
#include "platform/still/still_overlay_window_system.h"
#include "platform/wayland/layer_shell_overlay_window_system.h"
#include "platform/wayland/screencopy_screen_source.h"
#include "platform/x11/qt_x11_connection.h"
#include "platform/x11/x11_overlay_window_system.h"
#include "platform/x11/xcb_screen_source.h"

#include <QGuiApplication>
#include <QtGlobal>

namespace quorvex {

namespace {

Result<std::unique_ptr<ScreenSource>> screencopySource(const SessionEnvironment& session)
{
    Result<std::unique_ptr<ScreencopyReader>> reader = ScreencopyReader::connect(session.waylandDisplay);
    if (!reader)
        return fail(reader.error());
    return std::unique_ptr<ScreenSource>(std::make_unique<ScreencopyScreenSource>(std::move(reader).value()));
}

// Where a Wayland client can neither place nor shape its windows, the overlay stands on a still
// picture of the desktop, and each of its grabs reads the live desktop with the still hidden.
WindowBackend stillBackend(std::unique_ptr<ScreenSource> screen, std::unique_ptr<ScreenSource> overlayScreen)
{
    auto still = std::make_shared<StillPicture>(std::move(overlayScreen));
    return {std::move(screen), std::make_unique<StillHidingScreenSource>(still),
        std::make_unique<StillOverlayWindowSystem>(still)};
}

// Where the session's screen cannot be read at all: every grab says why, up front.
class UnreadableScreenSource final : public ScreenSource {
public:
    explicit UnreadableScreenSource(std::string reason)
        : m_reason(std::move(reason))
    {
    }
    Result<QImage> grab(const QRect&) override { return QImage(); }
    Result<QSize> screenSize() const override { return QSize(); }
    Status readable() const override { return fail(m_reason); }

private:
    std::string m_reason;
};

// No overlay opens on a screen that cannot be read.
WindowBackend unreadableBackend(const std::string& reason)
{
    return {std::make_unique<UnreadableScreenSource>(reason),
        std::make_unique<UnreadableScreenSource>(reason), std::make_unique<QtOverlayWindowSystem>()};
}

void sayLine(const std::string& line)
{
    qWarning("%s", line.c_str());
}

Result<WindowBackend> openBackend(
    ScreenSourceKind kind, const SessionEnvironment& session, const DesktopOffer& offer, SessionProbe& probe)
{
    const FrameKind frame = offer.frameFor(kind);
    if (kind == ScreenSourceKind::X11) {
        xcb_connection_t* x11 = qtX11Connection();
        if (!x11)
            return fail(
                "this program's windows are not on X11 here (QT_QPA_PLATFORM), so it cannot read X11");
        auto screen = std::make_unique<XcbScreenSource>(x11, false);
        WindowSource* windows = screen.get();
        return WindowBackend{std::move(screen), std::make_unique<XcbScreenSource>(x11, true),
            std::make_unique<X11OverlayWindowSystem>(), windows};
    }
    if (kind == ScreenSourceKind::Screencopy) {
        // A connection each: the overlay's many grabs reuse their buffers while a picture holds the other's.
        Result<std::unique_ptr<ScreenSource>> screen = screencopySource(session);
        if (!screen)
            return fail(screen.error());
        Result<std::unique_ptr<ScreenSource>> overlayScreen = screencopySource(session);
        if (!overlayScreen)
            return fail(overlayScreen.error());
        if (frame == FrameKind::LayerShell)
            if (Result<std::unique_ptr<LayerSurfaces>> surfaces
                = LayerSurfaces::connect(session.waylandDisplay))
                return WindowBackend{std::move(*screen), std::move(*overlayScreen),
                    std::make_unique<LayerShellOverlayWindowSystem>(std::move(surfaces).value())};
        return stillBackend(std::move(*screen), std::move(*overlayScreen));
    }
    if (const std::string& missing = offer.missing(kind); !missing.empty())
        return fail(missing);
    Result<DesktopBus*> bus = probe.bus();
    if (!bus)
        return fail(bus.error());
    std::unique_ptr<ScreenshotReader> reader = kind == ScreenSourceKind::KWinScreenshot
        ? (*bus)->kwinScreenshot()
        : (*bus)->portal(session.isGnome(), sayLine);
    std::unique_ptr<ScreenshotReader> overlayReader = kind == ScreenSourceKind::KWinScreenshot
        ? (*bus)->kwinScreenshot()
        : (*bus)->portal(session.isGnome(), sayLine);
    // KWin says whether it lets this program read the screen only when asked for a screenshot. The
    // portal is asked nothing before the first grab: GNOME may put a question to the person.
    if (kind == ScreenSourceKind::KWinScreenshot)
        if (const Status taken = reader->takeScreenshot(); !taken)
            return fail(taken.error());
    auto screen = std::make_unique<ScreenshotScreenSource>(std::move(reader));
    auto overlayScreen = std::make_unique<ScreenshotScreenSource>(std::move(overlayReader));
    if (frame == FrameKind::LayerShell)
        if (Result<std::unique_ptr<LayerSurfaces>> surfaces
            = LayerSurfaces::connect(session.waylandDisplay)) {
            auto frameWindows = std::make_unique<LayerShellOverlayWindowSystem>(std::move(surfaces).value());
            auto frameHiding
                = std::make_unique<FrameHidingScreenSource>(std::move(overlayScreen), *frameWindows);
            return WindowBackend{std::move(screen), std::move(frameHiding), std::move(frameWindows)};
        }
    return stillBackend(std::move(screen), std::move(overlayScreen));
}

} // namespace

WindowBackend chooseWindowBackend()
{
    // The same choice as the command line's, from the same session.
    const SessionEnvironment session = SessionEnvironment::fromProcess();
    SessionProbe probe(session, [] { return Result<std::unique_ptr<DesktopBus>>(connectDesktopBus()); });
    const DesktopOffer offer = describeDesktop(session, probe);
    const std::vector<ScreenSourceKind> kinds = offer.sourcesToTry();
    // Offscreen, where no display system is there to read.
    if (!offer.forced && !offer.wayland && !qtX11Connection()) {
        auto screen = std::make_unique<QtScreenSource>();
        WindowSource* windows = screen.get();
        return {std::move(screen), std::make_unique<QtScreenSource>(),
            std::make_unique<QtOverlayWindowSystem>(), windows};
    }
    std::string failure = kinds.empty() ? offer.noSourceMessage() : std::string();
    for (size_t i = 0; i < kinds.size(); ++i) {
        Result<WindowBackend> backend = openBackend(kinds[i], session, offer, probe);
        if (backend) {
            backend->clipboardKeeper = offer.dataControl && qGuiApp
                && QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
            return std::move(*backend);
        }
        failure = backend.error();
        if (kinds[i] == ScreenSourceKind::KWinScreenshot && i + 1 < kinds.size())
            sayLine(kwinFallbackLine(failure));
    }
    return unreadableBackend(failure);
}

} // namespace quorvex
