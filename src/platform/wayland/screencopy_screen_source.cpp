#include "platform/wayland/screencopy_screen_source.h"

#include "capture/grab_pixels.h"
#include "capture/screen_pixels_picture.h"

namespace quorvex {

ScreencopyScreenSource::ScreencopyScreenSource(std::unique_ptr<ScreencopyReader> reader, Rects rects)
    : m_reader(std::move(reader))
    , m_rects(rects)
{
}

QSize ScreencopyScreenSource::screenSize() const
{
    const PixelSize size = m_reader->desktopSize();
    return {size.width, size.height};
}

QImage ScreencopyScreenSource::grab(WId window, bool, const QRect& asked)
{
    if (window != 0 || asked.isEmpty())
        return {};
    QRect rect = asked;
    if (m_rects == Rects::Logical) {
        const PixelRect inPicture
            = m_reader->pictureRect({asked.x(), asked.y(), asked.width(), asked.height()});
        rect = QRect(inPicture.x, inPicture.y, inPicture.width, inPicture.height);
    }
    // Only the part on the desktop is read; black elsewhere, as on X11.
    const QRect inside = rect & QRect(QPoint(0, 0), screenSize());
    QImage pixels;
    if (!inside.isEmpty()) {
        pixels = pictureShowing(
            m_reader->readDesktop({inside.x(), inside.y(), inside.width(), inside.height()}));
        if (pixels.isNull())
            return {};
    }
    return placedOnBlack(rect.size(), pixels, inside.topLeft() - rect.topLeft());
}

} // namespace quorvex
