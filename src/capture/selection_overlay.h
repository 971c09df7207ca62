#pragma once

#include "capture/overlay_geometry.h"
#include "capture/overlay_timers.h"
#include "capture/screen_source.h"
#include "capture/selection_grab_receiver.h"

#include <QWidget>

class QScreen;

class QLabel;
class QPushButton;
class QTimer;

namespace quorvex {

class OverlayWindowSystem;
class SelectionFrame;

// The area-selection overlay: a frameless, always-on-top window, sized by a thin frame of its own and
// moved by its top strip Label2, whose selection frame s1 is see-through and click-through. It grabs
// the screen inside s1 half a second after each resize and once it has come to rest after a move,
// and hands each grab to the receiver. "x" (xButton) closes it; closing is its unload.
class Form2 final : public QWidget {
    Q_OBJECT
public:
    Form2(ScreenSource& screen, OverlayWindowSystem& windows, SelectionGrabReceiver& receiver, Twips twips);
    ~Form2() override;

    // The load handling: margins noted, shown on top without taking the focus, loaded, red cut out,
    // position noted, move timer started.
    void load();
    // OverlayLoaded: from the end of load() until the window is closed.
    bool overlayLoaded() const { return m_loaded; }

    // Cuts the red out of the window where the display can shape windows; elsewhere the red shows.
    void DarkMe();
    void MakeTopmost();
    // Grabs the screen inside s1 (without its border) and hands it to the receiver.
    void GrabSelection();

    // Sizes in twips, as the defined-size dialog reads and sets them. A set width or height is kept
    // between the overlay's minimum and the room from the window's place to the desktop's edge.
    int windowWidthTwips() const;
    int windowHeightTwips() const;
    int selectionWidthTwips() const { return m_layout.s1.width(); }
    int selectionHeightTwips() const { return m_layout.s1.height(); }
    void setWindowWidthTwips(double width);
    void setWindowHeightTwips(double height);
    // The defined-size dialog's size in picture (device) pixels, kept while the window keeps the size
    // it has now.
    void setDefinedGrabSize(QSize devicePixels);
    // Places the window in the middle of that monitor.
    void centreOn(const QScreen& display);
    // Device pixels per logical pixel of the screen the overlay is on.
    double deviceRatio() const;

    bool isShaped() const { return m_shaped; }
    bool hatchAndBorderVisible() const;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // Escape closes the overlay, as its "x" does, once it has the keyboard (after a click on it).
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void applyLayout();
    void applyShape();
    void setHatchAndBorder(bool on);
    void restartTimer1();
    void onTimer1();
    void onMoveTimer();
    QPoint positionTwips() const;
    // The inside of s1 on the desktop, in device pixels, as far as it lies on the desktop: what
    // GrabSelection reads.
    QRect deviceGrabRect() const;
    // Where the window can lie, in the coordinates of its geometry.
    QRect desktopArea() const;

    ScreenSource& m_screen;
    OverlayWindowSystem& m_windows;
    SelectionGrabReceiver& m_receiver;
    const Twips m_twips;
    OverlayLayout m_layout;
    OverlayMargins m_margins;
    OverlayTimers m_timers;
    bool m_loaded = false;
    bool m_shaped = false;
    bool m_grabbing = false;
    struct DefinedGrab {
        QSize devicePixels;
        QSize windowSize; // the window's size when the dialog set it
    } m_definedGrab;

    QWidget* m_clientArea;
    SelectionFrame* s1;
    QLabel* Label2;
    QPushButton* xButton;
    QTimer* tmrMove;
    QTimer* Timer1;
};

} // namespace quorvex
