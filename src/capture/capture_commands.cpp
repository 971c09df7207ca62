#include "capture/capture_commands.h"

#include "capture/grab_pixels.h"
#include "capture/window_grab.h"
#include "common/device_pixels.h"

#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

namespace quorvex {

QImage captureWholeScreen(ScreenSource& screen, QSizeF screenTwips, const Twips& twips)
{
    const QRect r = screenGrabRect(screenTwips, twips);
    return GrabWindowRect(screen, 0, false, r.x(), r.y(), r.width(), r.height());
}

QImage captureForm(ScreenSource& screen, const QWidget& form)
{
    const QSize outer = toDeviceSize(form.frameGeometry().size(), form.devicePixelRatioF());
    return GrabWindowRect(screen, form.winId(), false, 0, 0, outer.width(), outer.height());
}

QImage captureClient(ScreenSource& screen, const QWidget& form)
{
    const QSize inner = toDeviceSize(form.size(), form.devicePixelRatioF());
    return GrabWindowRect(screen, form.winId(), true, 0, 0, inner.width(), inner.height());
}

QImage captureActiveWindow(ScreenSource& screen, ActiveWindowQuery& query)
{
    ActiveWindow active = query.activeWindow();
    if (!active.window) {
        if (QWindow* focus = QGuiApplication::focusWindow())
            active = {focus->winId(), toDeviceSize(focus->frameGeometry().size(), focus->devicePixelRatio())};
    }
    if (!active.window)
        return {};
    return GrabWindowRect(screen, active.window, false, 0, 0, active.size.width(), active.size.height());
}

} // namespace quorvex
