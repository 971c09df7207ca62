#include "capture/qt_screen_source.h"

#include "capture/grab_pixels.h"
#include "capture/window_grab.h"

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

namespace quorvex {

QImage QtScreenSource::grabWindow(WId window, bool clientArea, const QRect& rect)
{
    const QRect source = clientAreaRect(window, clientArea, rect);
    QScreen* screen = QGuiApplication::primaryScreen();
    // Qt clips the rectangle to the window; the rest of the picture stays black, so the size is
    // always the one asked for.
    const QImage pixels = screen
        ? screen->grabWindow(window, source.x(), source.y(), source.width(), source.height()).toImage()
        : QImage();
    return placedOnBlack(rect.size(), pixels, QPoint(std::max(0, -source.x()), std::max(0, -source.y())));
}

Result<QSize> QtScreenSource::screenSize() const
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().size() : QSize();
}

} // namespace quorvex
