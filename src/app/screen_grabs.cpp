#include "app/screen_grabs.h"

#include "app/grab_wait.h"
#include "app/picture_view_state.h"
#include "capture/capture_commands.h"
#include "capture/defined_size_dialog.h"
#include "capture/overlay_geometry.h"
#include "common/message_box.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace quorvex {

ScreenGrabs::ScreenGrabs(GrabBackend backend, MessageBoxes& messages, WallClock& clock,
    PictureViewState& state, SelectionGrabReceiver& receiver, Twips twips)
    : m_screen(backend.screen)
    , m_activeWindow(backend.activeWindow)
    , m_messages(messages)
    , m_clock(clock)
    , m_state(state)
    , m_twips(twips)
    , m_overlay(backend.overlayScreen, backend.overlayWindows, receiver, twips)
{
}

QImage ScreenGrabs::CaptureScreen()
{
    const QSize screen = m_screen.screenSize();
    const Twips& twips = m_state.twips();
    const QSizeF screenTwips(twips.fromPixelsX(screen.width()), twips.fromPixelsY(screen.height()));
    QImage picture = captureWholeScreen(m_screen, screenTwips, twips);
    m_state.placeForWholeScreen(screenTwips);
    return picture;
}

QImage ScreenGrabs::CaptureForm(QWidget* frmSrc)
{
    return frmSrc ? captureForm(m_screen, *frmSrc) : QImage();
}

QImage ScreenGrabs::CaptureClient(QWidget* frmSrc)
{
    return frmSrc ? captureClient(m_screen, *frmSrc) : QImage();
}

QImage ScreenGrabs::CaptureActiveWindow()
{
    return captureActiveWindow(m_screen, m_activeWindow);
}

void ScreenGrabs::showScreenFailure(const QString& reason)
{
    m_messages.show({reason.left(1).toUpper() + reason.mid(1) + QLatin1Char('.'), MessageIcon::Exclamation});
}

bool ScreenGrabs::screenUnreadable()
{
    const QString reason = m_screen.unreadableReason();
    if (!reason.isEmpty())
        showScreenFailure(reason);
    return !reason.isEmpty();
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
    const bool sized = !m_screen.screenSize().isEmpty();
    const QString failure = sized ? QString() : m_screen.lastGrabFailure();
    if (failure.isEmpty())
        m_state.keepWholeScreenGrab(CaptureScreen());
    window.showNormal();
    if (hideOnly) { // a window mapped anew: in front, with the keyboard
        window.raise();
        window.activateWindow();
    }
    // A message about the grab shows over the window, so the window is on the screen first.
    waitUntilExposed(window);
    if (!failure.isEmpty())
        showScreenFailure(failure);
}

void ScreenGrabs::GrabSelectedArea(const QWidget& window)
{
    if (screenUnreadable())
        return;
    m_overlay.setHomeScreen(window.screen());
    m_overlay.showOverlay();
    showOverlayFailure();
}

void ScreenGrabs::showOverlayFailure()
{
    if (const QString failure = m_overlay.takeFailure(); !failure.isEmpty())
        showScreenFailure(failure);
}

void ScreenGrabs::showDefinedSizeDialog(const QWidget& window)
{
    if (screenUnreadable())
        return;
    m_overlay.setHomeScreen(window.screen());
    // Modal and without an owner: centred on the main window's monitor like the overlay it sizes.
    Form3 dialog([this] { return m_overlay.overlay(); }, m_twips);
    if (const QScreen* home = window.screen())
        dialog.move(centredIn(home->geometry(), dialog.size()));
    dialog.exec();
    showOverlayFailure();
}

} // namespace quorvex
