#pragma once

#include "capture/overlay_window_system.h"
#include "capture/screen_source.h"
#include "platform/wayland/layer_surfaces.h"

#include <QObject>
#include <QPointer>
#include <QRegion>
#include <memory>

class QSocketNotifier;

namespace quorvex {

// The overlay on a desktop with layer shell (wlroots, KWin), where a client can neither place nor
// shape its windows: the
// overlay widget never gets a window of its own; it is drawn, cut to its shape, onto transparent
// layer surfaces (layer_surfaces.h) at its place on the desktop, and the pointer over its shape
// comes back to its widgets as Qt mouse events at desktop coordinates. The widget's own geometry
// stays what moves and sizes it, as on X11.
class LayerShellOverlayWindowSystem final : public QObject, public OverlayWindowSystem {
public:
    explicit LayerShellOverlayWindowSystem(std::unique_ptr<LayerSurfaces> surfaces);
    ~LayerShellOverlayWindowSystem() override;

    bool supportsShaping() const override { return true; }
    void applyShape(QWidget& window, const QRegion& shape) override;
    void makeTopmost(QWidget& window) override;
    void waitForDisplay() override;
    // The desktop picture of screen copy holds every output at the largest scale.
    QPoint deviceTopLeft(const QWidget& window) const override;
    double deviceRatio(const QWidget&) const override { return m_surfaces->largestScale(); }

    // Takes the frame off the screen, once the compositor has it so, until showFrame(): for a source
    // that reads the whole desktop after a moment. False, and the frame stays, while a button holds it.
    bool hideFrame();
    void showFrame();
    QSize desktopSize() const { return m_surfaces->desktopSize(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void follow(QWidget& window);
    void redraw();
    void deliver(const LayerPointerEvent& event);

    std::unique_ptr<LayerSurfaces> m_surfaces;
    QSocketNotifier* m_notifier;
    QPointer<QWidget> m_window;
    QRegion m_shape;
    QPointer<QWidget> m_pressed; // takes every pointer event from a press to its release
    Qt::MouseButtons m_buttons;
    bool m_hidden = false;
};

// The overlay's grabs through a source that reads the whole desktop after a moment (KWin's
// screenshot, the desktop portal): each one read with the frame off the screen.
class FrameHidingScreenSource final : public ScreenSource {
public:
    FrameHidingScreenSource(std::unique_ptr<ScreenSource> desktop, LayerShellOverlayWindowSystem& frame);

    Result<QImage> grab(const QRect& rect) override;
    // The outputs' layout, as the compositor gives it: asking takes no screenshot.
    Result<QSize> screenSize() const override { return m_frame.desktopSize(); }

private:
    std::unique_ptr<ScreenSource> m_desktop;
    LayerShellOverlayWindowSystem& m_frame;
};

} // namespace quorvex
