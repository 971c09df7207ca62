#include "platform/wayland/screencopy_screen_source.h"

#include "capture/screen_pixels_picture.h"

namespace quorvex {

ScreencopyScreenSource::ScreencopyScreenSource(std::unique_ptr<ScreencopyReader> reader)
    : m_reader(std::move(reader))
{
}

QSize ScreencopyScreenSource::screenSize() const
{
    const PixelSize size = m_reader->desktopSize();
    return {size.width, size.height};
}

QImage ScreencopyScreenSource::grab(WId window, bool, const QRect& rect)
{
    if (window != 0 || rect.isEmpty())
        return {};
    return readInsideOrBlack(rect, QRect(QPoint(0, 0), screenSize()),
        [this](const PixelRect& part) { return m_reader->readDesktop(part); });
}

} // namespace quorvex
