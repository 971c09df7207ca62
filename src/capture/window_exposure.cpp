#include "capture/window_exposure.h"

#include "common/event_wait.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>
#include <QWindow>

namespace quorvex {

void waitUntilExposed(QWidget& window)
{
    QCoreApplication::processEvents();
    QWindow* handle = window.windowHandle();
    if (!handle || handle->isExposed() || !window.isVisible())
        return;
    // Expose has no signal of its own: look at each event the window gets.
    waitForEvent(*handle,
        [handle](const QEvent& event) { return event.type() == QEvent::Expose && handle->isExposed(); });
}

} // namespace quorvex
