#pragma once

#include "app/command_actions.h"
#include "app/picture_gestures.h"
#include "app/picture_output.h"
#include "app/picture_view_state.h"
#include "capture/overlay_loader.h"
#include "capture/screen_source.h"
#include "capture/selection_grab_receiver.h"
#include "common/message_box.h"

#include <QMainWindow>

class QClipboard;
class QFrame;

namespace quorvex {

class AboutBox;
class PictureView;
class Toolbar;
class UrlOpener;
class WallClock;

// What the main window reaches outside itself; tests pass stand-ins.
struct Form1Services {
    ScreenSource& screen;
    ScreenSource& overlayScreen; // the overlay grabs again and again: the shared-memory path
    MessageBoxes& messages;
    UrlOpener& urls;
    WallClock& clock;
    SaveFileDialog& saveDialog;
    Printer& printer; // lives as long as the window: a page-fit print's orientation stays for later prints
    QClipboard& clipboard;
};

// The main window: builds the controls, wires each command's action and the mouse to the picture
// state, and shows what that state says.
class Form1 : public QMainWindow, public SelectionGrabReceiver {
    Q_OBJECT
public:
    Form1(Form1Services services, Twips twips, QWidget* parent = nullptr);
    ~Form1() override;

    const PictureViewState& pictures() const { return m_state; }

    // Capture (the last three are public procedures nothing in the program calls).
    QImage CaptureScreen();
    QImage CaptureForm(QWidget* frmSrc);
    QImage CaptureClient(QWidget* frmSrc);
    QImage CaptureActiveWindow();
    void GrabWholeScreen();
    void GrabSelectedArea();
    void showDefinedSizeDialog();
    bool OverlayLoaded() const { return m_overlay.overlayLoaded(); }
    Form2* overlay() { return m_overlay.overlayLoaded() ? m_overlay.overlay() : nullptr; }
    void acceptSelectionGrab(const QImage& picture, const SelectionGrabGeometry& g) override;

    void ZoomByPercent(int percent, bool enlarge);
    void Reset();
    void Clear();
    void mirror(MirrorKind kind);
    void RotateByAngle(qint16 angle);

    void About();
    void setBackground(const QColor& color);
    QColor background() const;
    void OpenOptionsPage(QWidget* owner);
    void Exit();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void connectActions();
    // Brings the view widget and the window title in line with the picture state.
    void syncView();
    void showResize(ResizeResult result);
    void showTurn(TurnResult result);
    // True, after telling the user, when the screen's pixels cannot be read at all.
    bool screenUnreadable();
    void surfaceMove(QPointF twipsPos);

    Form1Services m_services;
    Twips m_twips;
    PictureViewState m_state;
    PictureGestures m_gestures;
    PictureOutput m_output;
    OverlayLoader m_overlay;
    CommandActions m_actions;
    QWidget* m_surface;
    // The controls, named after the ones they stand for.
    QFrame* Picture2;
    Toolbar* Frame2;
    AboutBox* Frame1;
    PictureView* pic1;
};

} // namespace quorvex
