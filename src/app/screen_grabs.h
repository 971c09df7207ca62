#pragma once

#include "capture/active_window_query.h"
#include "capture/overlay_loader.h"
#include "capture/qt_window_system.h"
#include "capture/screen_source.h"
#include "common/numeric.h"

#include <QImage>

class QWidget;

namespace quorvex {

class MessageBoxes;
class PictureViewState;
class WallClock;

// The three ways of starting a grab, and the capture procedures behind them. What a grab puts into
// the picture boxes is PictureViewState's; this class reads the screen and runs the overlay and the
// dialog.
// What the grabs read the screen and run the overlay through.
struct GrabBackend {
    ScreenSource& screen;
    ScreenSource& overlayScreen;
    OverlayWindowSystem& overlayWindows;
    ActiveWindowQuery& activeWindow;
};

class ScreenGrabs {
public:
    ScreenGrabs(GrabBackend backend, MessageBoxes& messages, WallClock& clock, PictureViewState& state,
        SelectionGrabReceiver& receiver, Twips twips);

    // pic1 is sized and placed for the screen before its picture is read.
    QImage CaptureScreen();
    QImage CaptureForm(QWidget* frmSrc);
    QImage CaptureClient(QWidget* frmSrc);
    QImage CaptureActiveWindow();

    // Takes `window` off the screen for a wait of up to 1.5 s, grabs, and restores it.
    void GrabWholeScreen(QWidget& window);
    // The overlay and the dialog open on `window`'s monitor.
    void GrabSelectedArea(const QWidget& window);
    void showDefinedSizeDialog(const QWidget& window);
    OverlayLoader& overlay() { return m_overlay; }
    // Tells the user why the screen could not be read.
    void showScreenFailure(const QString& reason);
    const OverlayLoader& overlay() const { return m_overlay; }

private:
    // True, after telling the user, when the screen's pixels cannot be read at all.
    bool screenUnreadable();
    // Tells the user why the overlay could not open, where it could not.
    void showOverlayFailure();

    ScreenSource& m_screen;
    ActiveWindowQuery& m_activeWindow;
    MessageBoxes& m_messages;
    WallClock& m_clock;
    PictureViewState& m_state;
    Twips m_twips;
    OverlayLoader m_overlay;
};

} // namespace quorvex
