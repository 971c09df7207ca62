#include "capture/qt_window_system.h"

#include <QRegion>
#include <QWidget>

namespace quorvex {

void QtOverlayWindowSystem::applyShape(QWidget& window, const QRegion& shape)
{
    window.setMask(shape);
}

void QtOverlayWindowSystem::makeTopmost(QWidget& window)
{
    // The window flags keep it above other windows; WA_ShowWithoutActivating leaves the focus where it is.
    window.show();
    window.raise();
}

} // namespace quorvex
