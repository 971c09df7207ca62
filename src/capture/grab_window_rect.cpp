#include "capture/grab_window_rect.h"

#include <QGuiApplication>
#include <QWindow>

namespace quorvex {

QImage GrabWindowRect(ScreenSource& screen, WId window, bool client, int left, int top, int width, int height)
{
    if (width < 1 || height < 1)
        return {};
    return PictureFromBitmap(screen.grab(window, client, QRect(left, top, width, height)));
}

QMargins frameMarginsOf(WId window)
{
    for (QWindow* w : QGuiApplication::topLevelWindows())
        if (w->winId() == window)
            return w->frameMargins();
    return {};
}

QImage PictureFromBitmap(const QImage& bitmap)
{
    if (bitmap.isNull() || bitmap.format() == QImage::Format_RGB32)
        return bitmap;
    return bitmap.convertToFormat(QImage::Format_RGB32);
}

} // namespace quorvex
