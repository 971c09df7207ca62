#pragma once

#include "app/window_services.h"
#include "capture/overlay_loader.h"
#include "common/numeric.h"

#include <QImage>

class QWidget;

namespace quorvex {

class PictureViewState;

// The three ways of starting a grab, and the capture procedures behind them. What a grab puts into
// the picture boxes is PictureViewState's; this class reads the screen and runs the overlay and the
// dialog.
class ScreenGrabs {
public:
    ScreenGrabs(const WindowServices& services, PictureViewState& state, SelectionGrabReceiver& receiver,
        Twips twips);

    // pic1 is sized and placed for the screen before its picture is read.
    QImage CaptureScreen();
    // Empty where no window can be read (Wayland).
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
    void showOverlayFailure(const Result<Form2*>& overlay);

    ScreenSource& m_screen;
    WindowSource* m_windows;
    MessageBoxes& m_messages;
    WallClock& m_clock;
    PictureViewState& m_state;
    Twips m_twips;
    OverlayLoader m_overlay;
};

} // namespace quorvex
