#pragma once

#include "common/device_pixels.h"
#include "common/result.h"

#include <QPoint>
#include <QScreen>
#include <QString>
#include <QWidget>

class QRegion;

namespace quorvex {

// What the selection overlay needs of the window system beyond Qt's widgets: cutting the window to a
// shape (so the red key shows through and clicks pass), keeping it on top, and knowing when a shape
// is in force on the screen. One implementation per display system (and one for desktops where the
// overlay stands on a still picture of the desktop).
class OverlayWindowSystem {
public:
    virtual ~OverlayWindowSystem() = default;

    // Readies the display for a new overlay opening on `home` (a picture of the desktop where the
    // overlay stands on one).
    virtual Status prepareOverlay(QScreen* home)
    {
        Q_UNUSED(home);
        return {};
    }

    // Whether windows can be cut to a shape here; where they cannot, the red shows.
    virtual bool supportsShaping() const = 0;
    // Cuts `window` to `shape` (window coordinates): outside it the window neither shows nor takes clicks.
    virtual void applyShape(QWidget& window, const QRegion& shape) = 0;
    // Shows `window` above the other windows, leaving the focus where it is.
    virtual void makeTopmost(QWidget& window) = 0;
    // Returns once the display has handled every request sent so far.
    virtual void waitForDisplay() = 0;
    // Returns once `window`'s present shape is in force on the screen.
    virtual void waitForShape(QWidget& window)
    {
        Q_UNUSED(window);
        waitForDisplay();
    }
    // Where `window`'s top-left corner lies on the desktop in device pixels (the screen source's
    // pixels). Here: where Qt's scaling puts it; a display system that knows better says so.
    virtual QPoint deviceTopLeft(const QWidget& window) const
    {
        const QScreen* screen = window.screen();
        return screen
            ? toDevicePoint(window.pos(), {screen->geometry().topLeft(), screen->devicePixelRatio()})
            : window.pos();
    }
    // Device pixels per logical pixel where `window` lies.
    virtual double deviceRatio(const QWidget& window) const
    {
        const QScreen* screen = window.screen();
        return screen ? screen->devicePixelRatio() : 1.0;
    }
};

} // namespace quorvex
