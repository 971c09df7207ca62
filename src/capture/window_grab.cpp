#include "capture/window_grab.h"

#include "capture/grab_pixels.h"
#include "common/device_pixels.h"

#include <QGuiApplication>
#include <QWindow>

namespace quorvex {

QImage GrabWindowRect(
    WindowSource& windows, WId window, bool client, int left, int top, int width, int height)
{
    if (width < 1 || height < 1)
        return {};
    return PictureFromBitmap(windows.grabWindow(window, client, QRect(left, top, width, height)));
}

Result<QImage> grabDesktopRect(ScreenSource& screen, const QRect& rect)
{
    if (rect.isEmpty())
        return QImage();
    Result<QImage> pixels = screen.grab(rect);
    if (!pixels)
        return pixels;
    return PictureFromBitmap(*pixels);
}

QRect clientAreaRect(WId window, bool clientArea, const QRect& rect)
{
    if (window == 0 || clientArea)
        return rect;
    for (QWindow* w : QGuiApplication::topLevelWindows())
        if (w->winId() == window)
            return rect.translated(-toDeviceLength(w->frameMargins().left(), w->devicePixelRatio()),
                -toDeviceLength(w->frameMargins().top(), w->devicePixelRatio()));
    return rect;
}

} // namespace quorvex
