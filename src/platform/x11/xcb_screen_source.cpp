#include "platform/x11/xcb_screen_source.h"

#include "capture/grab_pixels.h"
#include "capture/screen_pixels_picture.h"
#include "capture/window_grab.h"

namespace quorvex {

XcbScreenSource::XcbScreenSource(xcb_connection_t* connection, bool sharedMemory)
    : m_reader(connection, sharedMemory)
{
}

QString XcbScreenSource::unreadableReason() const
{
    return QString::fromStdString(m_reader.unreadableReason());
}

QSize XcbScreenSource::screenSize() const
{
    const PixelSize size = m_reader.desktopSize();
    return {size.width, size.height};
}

QImage XcbScreenSource::grab(WId window, bool clientArea, const QRect& rect)
{
    if (!m_reader.unreadableReason().empty() || rect.isEmpty())
        return {};
    const QRect source = clientAreaRect(window, clientArea, rect);
    const std::optional<PixelSize> drawable = m_reader.drawableSize(uint32_t(window));
    if (!drawable)
        return {};
    // The server refuses rectangles that leave the drawable: read the part inside, black elsewhere.
    const QRect inside = source & QRect(0, 0, drawable->width, drawable->height);
    QImage pixels;
    if (!inside.isEmpty()) {
        pixels = pictureShowing(
            m_reader.read(uint32_t(window), {inside.x(), inside.y(), inside.width(), inside.height()}));
        if (pixels.isNull())
            return {}; // never a picture that is not the screen
    }
    return placedOnBlack(rect.size(), pixels, inside.topLeft() - source.topLeft());
}

} // namespace quorvex
