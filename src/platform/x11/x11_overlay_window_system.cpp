#include "platform/x11/x11_overlay_window_system.h"

#include "platform/x11/x11_display.h"

#include <QRegion>
#include <QWidget>

namespace quorvex {

bool X11OverlayWindowSystem::supportsShaping() const
{
    return displaySupportsShaping();
}

void X11OverlayWindowSystem::applyShape(QWidget& window, const QRegion& shape)
{
    // Qt's xcb platform sets a widget's mask as the window's SHAPE bounding and input region.
    window.setMask(shape);
}

void X11OverlayWindowSystem::makeTopmost(QWidget& window)
{
    // The window flags keep it above other windows; WA_ShowWithoutActivating leaves the focus where it is.
    window.show();
    window.raise();
}

void X11OverlayWindowSystem::waitForDisplay()
{
    waitForDisplayServer();
}

QPoint X11OverlayWindowSystem::deviceTopLeft(const QWidget& window) const
{
    if (const std::optional<QPoint> place = windowPlaceOnDesktop(window.winId()))
        return *place;
    return OverlayWindowSystem::deviceTopLeft(window);
}

void X11OverlayWindowSystem::waitForShape(QWidget& window)
{
    // A window manager that does not follow the shape within this long never will.
    constexpr int kWindowManagerShapeTimeoutMs = 250;
    waitForDisplayServer();
    waitForWindowManagerShape(window.winId(), kWindowManagerShapeTimeoutMs);
}

} // namespace quorvex
