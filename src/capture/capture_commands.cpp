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
    Result<QImage> picture = grabDesktopRect(screen, screenGrabRect(screenTwips, twips));
    return picture ? std::move(*picture) : QImage();
}

QImage captureForm(WindowSource& windows, const QWidget& form)
{
    const QSize outer = toDeviceSize(form.frameGeometry().size(), form.devicePixelRatioF());
    return GrabWindowRect(windows, form.winId(), false, 0, 0, outer.width(), outer.height());
}

QImage captureClient(WindowSource& windows, const QWidget& form)
{
    const QSize inner = toDeviceSize(form.size(), form.devicePixelRatioF());
    return GrabWindowRect(windows, form.winId(), true, 0, 0, inner.width(), inner.height());
}

QImage captureActiveWindow(WindowSource& windows)
{
    ActiveWindow active = windows.activeWindow();
    if (!active.window) {
        if (QWindow* focus = QGuiApplication::focusWindow())
            active = {focus->winId(), toDeviceSize(focus->frameGeometry().size(), focus->devicePixelRatio())};
    }
    if (!active.window)
        return {};
    return GrabWindowRect(windows, active.window, false, 0, 0, active.size.width(), active.size.height());
}

} // namespace quorvex
