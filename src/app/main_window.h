#pragma once

#include "app/command_actions.h"
#include "app/picture_gestures.h"
#include "app/picture_output.h"
#include "app/picture_view_state.h"
#include "app/screen_grabs.h"
#include "app/window_services.h"

#include <QMainWindow>

class QFrame;

namespace quorvex {

class AboutBox;
class PictureView;
class Toolbar;

// The main window: builds the controls, wires each command's action and the mouse to the picture
// state and the grabs, and shows what the state says.
class Form1 : public QMainWindow, public SelectionGrabReceiver {
    Q_OBJECT
public:
    Form1(const WindowServices& services, Twips twips, QWidget* parent = nullptr);
    ~Form1() override;

    const PictureViewState& pictures() const { return m_state; }
    QColor background() const;

    // The capture procedures; only the whole-screen grab calls one of them.
    QImage CaptureScreen() { return m_grabs.CaptureScreen(); }
    QImage CaptureForm(QWidget* frmSrc) { return m_grabs.CaptureForm(frmSrc); }
    QImage CaptureClient(QWidget* frmSrc) { return m_grabs.CaptureClient(frmSrc); }
    QImage CaptureActiveWindow() { return m_grabs.CaptureActiveWindow(); }
    void GrabWholeScreen();
    bool OverlayLoaded() const { return m_grabs.overlay().overlayLoaded(); }
    Form2* overlay() { return OverlayLoaded() ? *m_grabs.overlay().overlay() : nullptr; }
    Twips pictureTwips() const override { return m_state.twips(); }
    void acceptSelectionGrab(const QImage& picture, const SelectionGrabGeometry& g) override;
    void selectionGrabFailed(const QString& reason) override;
    void RotateByAngle(qint16 angle);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void connectActions();
    void setBackground(const QColor& color);
    void surfaceMove(QPointF twipsPos);
    // Brings the view widget and the window title in line with the picture state.
    void syncView();
    // The same, after saying why a command was refused.
    void showResize(ResizeResult result);
    void showTurn(TurnResult result);

    WindowServices m_services;
    Twips m_twips;
    PictureViewState m_state;
    PictureGestures m_gestures;
    PictureOutput m_output;
    ScreenGrabs m_grabs;
    CommandActions m_actions;
    QWidget* m_surface;
    // The controls, named after the ones they stand for.
    QFrame* Picture2;
    Toolbar* Frame2 = nullptr;
    AboutBox* Frame1;
    PictureView* pic1;
};

} // namespace quorvex
