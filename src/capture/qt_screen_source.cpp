#include "capture/qt_screen_source.h"

#include "capture/grab_window_rect.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QWindow>

namespace quorvex {

QImage QtScreenSource::grab(WId window, bool clientArea, const QRect& rect)
{
    QImage result(rect.size(), QImage::Format_RGB32);
    if (result.isNull())
        return result;
    result.fill(Qt::black);

    QRect source = rect;
    if (window != 0 && !clientArea) {
        const QMargins frame = frameMarginsOf(window);
        source.translate(-frame.left(), -frame.top());
    }
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return result;
    // Qt clips the rectangle to the window; the rest of the picture stays black, so the size is
    // always the one asked for.
    const QPixmap pixels
        = screen->grabWindow(window, source.x(), source.y(), source.width(), source.height());
    if (!pixels.isNull()) {
        QPainter painter(&result);
        painter.drawPixmap(QPoint(std::max(0, -source.x()), std::max(0, -source.y())), pixels);
    }
    return result;
}

QSize QtScreenSource::screenSize() const
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().size() : QSize();
}

} // namespace quorvex
