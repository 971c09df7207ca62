#include "app/screen_grabs.h"

#include "app/grab_wait.h"
#include "app/picture_view_state.h"
#include "capture/capture_commands.h"
#include "capture/defined_size_dialog.h"
#include "capture/overlay_geometry.h"
#include "capture/selection_overlay.h"
#include "capture/window_exposure.h"
#include "common/message_box.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace quorvex {

ScreenGrabs::ScreenGrabs(
    const WindowServices& services, PictureViewState& state, SelectionGrabReceiver& receiver, Twips twips)
    : m_screen(services.screen)
    , m_windows(services.windows)
    , m_messages(services.messages)
    , m_clock(services.clock)
    , m_state(state)
    , m_twips(twips)
    , m_overlay(services.overlayScreen, services.overlayWindows, receiver, twips)
{
}

QImage ScreenGrabs::CaptureScreen()
{
    const Result<QSize> size = m_screen.screenSize();
    const QSize screen = size ? *size : QSize();
    const Twips& twips = m_state.twips();
    const QSizeF screenTwips(twips.fromPixelsX(screen.width()), twips.fromPixelsY(screen.height()));
    QImage picture = captureWholeScreen(m_screen, screenTwips, twips);
    m_state.placeForWholeScreen(screenTwips);
    return picture;
}

QImage ScreenGrabs::CaptureForm(QWidget* frmSrc)
{
    return frmSrc && m_windows ? captureForm(*m_windows, *frmSrc) : QImage();
}

QImage ScreenGrabs::CaptureClient(QWidget* frmSrc)
{
    return frmSrc && m_windows ? captureClient(*m_windows, *frmSrc) : QImage();
}

QImage ScreenGrabs::CaptureActiveWindow()
{
    return m_windows ? captureActiveWindow(*m_windows) : QImage();
}

void ScreenGrabs::showScreenFailure(const QString& reason)
{
    m_messages.show({reason.left(1).toUpper() + reason.mid(1) + QLatin1Char('.'), MessageIcon::Exclamation});
}

bool ScreenGrabs::screenUnreadable()
{
    const Status readable = m_screen.readable();
    if (!readable)
        showScreenFailure(QString::fromStdString(readable.error()));
    return !readable;
}

void ScreenGrabs::GrabWholeScreen(QWidget& window)
{
    if (screenUnreadable())
        return;
    // A Wayland client can minimise its window but never bring it back: there it is hidden instead.
    const bool hideOnly = QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
    if (hideOnly)
        window.hide();
    else
        window.setWindowState((window.windowState() & ~Qt::WindowMaximized) | Qt::WindowMinimized);
    waitWithEvents(wholeSecondWait(m_clock.secondsSinceMidnight()));
    // Without a window manager nothing minimises the window: take it off the screen instead, so
    // it is not part of its own grab.
    const bool stillShown = window.windowHandle() && window.windowHandle()->isExposed();
    if (stillShown) {
        window.hide();
        QCoreApplication::processEvents();
    }
    // A source that cannot say the screen's size (a portal that refused) has nothing to grab: pic1
    // stays as it was.
    const Result<QSize> sized = m_screen.screenSize();
    if (sized)
        m_state.keepWholeScreenGrab(CaptureScreen());
    window.showNormal();
    if (hideOnly) { // a window mapped anew: in front, with the keyboard
        window.raise();
        window.activateWindow();
    }
    // A message about the grab shows over the window, so the window is on the screen first.
    waitUntilExposed(window);
    if (!sized)
        showScreenFailure(QString::fromStdString(sized.error()));
}

void ScreenGrabs::GrabSelectedArea(const QWidget& window)
{
    if (screenUnreadable())
        return;
    m_overlay.setHomeScreen(window.screen());
    const Result<Form2*> overlay = m_overlay.overlay();
    if (overlay)
        (*overlay)->show();
    showOverlayFailure(overlay);
}

void ScreenGrabs::showOverlayFailure(const Result<Form2*>& overlay)
{
    if (!overlay)
        showScreenFailure(QString::fromStdString(overlay.error()));
}

void ScreenGrabs::showDefinedSizeDialog(const QWidget& window)
{
    if (screenUnreadable())
        return;
    m_overlay.setHomeScreen(window.screen());
    // Modal and without an owner: centred on the main window's monitor like the overlay it sizes. Why
    // the last overlay asked for could not open is said once the dialog has closed.
    Result<Form2*> overlay = nullptr;
    Form3 dialog(
        [&]() -> Form2* {
            overlay = m_overlay.overlay();
            return overlay ? *overlay : nullptr;
        },
        m_twips);
    if (const QScreen* home = window.screen())
        dialog.move(centredIn(home->geometry(), dialog.size()));
    dialog.exec();
    showOverlayFailure(overlay);
}

} // namespace quorvex
