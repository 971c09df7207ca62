#pragma once

#include "app/picture_view_state.h"
#include "app/stretch.h"
#include "capture/overlay_loader.h"
#include "capture/screen_source.h"
#include "capture/selection_grab_receiver.h"
#include "common/message_box.h"
#include "transform/mirror.h"

#include <QMainWindow>
#include <QPointer>

class QClipboard;
class QFrame;

namespace quorvex {

class AboutBox;
class PictureView;
class Toolbar;
class Printer;
class SaveFileDialog;
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

// The main window: menus, toolbar, the picture view and its hidden copies, and the commands that
// work on them. Commands delegate to PictureViewState; this class wires events to them.
class Form1 : public QMainWindow, public SelectionGrabReceiver {
    Q_OBJECT
public:
    Form1(Form1Services services, Twips twips, QWidget* parent = nullptr);
    ~Form1() override;

    PictureViewState& pictures() { return m_state; }
    const Twips& twips() const { return m_twips; }

    // Capture (the first three are public procedures nothing in the program calls).
    QImage CaptureScreen();
    QImage CaptureForm(QWidget* frmSrc);
    QImage CaptureClient(QWidget* frmSrc);
    QImage CaptureActiveWindow();
    void GrabWholeScreen();
    void GrabSelectedArea();
    void showDefinedSizeDialog();
    bool OverlayLoaded() const { return m_overlay.overlayLoaded(); }
    Form2* overlay() { return m_overlay.overlayLoaded() ? m_overlay.overlay() : nullptr; }
    // What a grab through the overlay puts into the main window.
    void acceptSelectionGrab(const QImage& picture, const SelectionGrabGeometry& g) override;

    // Picture view.
    void ZoomByPercent(int percent, bool enlarge);
    void Reset();
    void Clear();

    // Mirrors and turns of pic1's picture; the title never changes.
    void mirror(MirrorKind kind);
    void RotateByAngle(qint16 angle);

    // Output of pic1's picture.
    void SaveGrabbedImage();
    void saveToClipboard();
    void printNormal();
    void printToFit();

    // Window.
    void About();
    void setBackground(const QColor& color);
    QColor background() const;
    void OpenOptionsPage(QWidget* owner);
    void Exit();

    // Stretching by dragging beside pic1: true from a press on the window's own surface until the
    // release; the mode is fixed by the last hover before the press.
    bool StretchActive = false;
    StretchMode stretchMode() const { return m_stretchMode; }

    // Panning state of pic1.
    bool DragActive = false;
    int DragStartX = 0;
    int DragStartY = 0;

    // Widgets, named after the controls they stand for.
    QWidget* surface() const { return m_surface; }
    Toolbar* Frame2 = nullptr;
    AboutBox* Frame1 = nullptr;
    QFrame* Picture2 = nullptr;
    PictureView* pic1 = nullptr;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenus();
    void connectToolbar();
    // Brings the view widget and the window title in line with the picture state.
    void syncView();
    void layoutStatusStrip();
    void showRefusedResize();
    // True, after telling the user, when the screen's pixels cannot be read at all.
    bool screenUnreadable();
    // False, after telling the user, when there is no picture to work on yet.
    bool hasPictureToOutput();
    void surfacePress();
    void surfaceMove(QPointF twipsPos);
    void surfaceRelease();

    Form1Services m_services;
    Twips m_twips;
    PictureViewState m_state;
    OverlayLoader m_overlay;
    QWidget* m_surface = nullptr;
    StretchMode m_stretchMode = StretchMode::None;
};

} // namespace quorvex
