#include "capture/grab_window_rect.h"

#include <QGuiApplication>
#include <QPainter>
#include <QWindow>

namespace quorvex {

QImage GrabWindowRect(ScreenSource& screen, WId window, bool client, int left, int top, int width, int height)
{
    if (width < 1 || height < 1)
        return {};
    return PictureFromBitmap(screen.grab(window, client, QRect(left, top, width, height)));
}

QRect clientAreaRect(WId window, bool clientArea, const QRect& rect)
{
    if (window == 0 || clientArea)
        return rect;
    for (QWindow* w : QGuiApplication::topLevelWindows())
        if (w->winId() == window)
            return rect.translated(-w->frameMargins().left(), -w->frameMargins().top());
    return rect;
}

QImage placedOnBlack(QSize size, const QImage& part, QPoint at)
{
    if (at.isNull() && part.size() == size && part.format() == QImage::Format_RGB32)
        return part;
    QImage result(size, QImage::Format_RGB32);
    if (result.isNull())
        return result;
    result.fill(Qt::black);
    if (!part.isNull())
        QPainter(&result).drawImage(at, part);
    return result;
}

QImage PictureFromBitmap(const QImage& bitmap)
{
    if (bitmap.isNull() || bitmap.format() == QImage::Format_RGB32)
        return bitmap;
    return bitmap.convertToFormat(QImage::Format_RGB32);
}

} // namespace quorvex
