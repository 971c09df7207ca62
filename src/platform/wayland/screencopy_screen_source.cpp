#include "platform/wayland/screencopy_screen_source.h"

#include "capture/screen_pixels_picture.h"

namespace quorvex {

ScreencopyScreenSource::ScreencopyScreenSource(std::unique_ptr<ScreencopyReader> reader)
    : m_reader(std::move(reader))
{
}

Result<QSize> ScreencopyScreenSource::screenSize() const
{
    const PixelSize size = m_reader->desktopSize();
    return QSize(size.width, size.height);
}

Result<QImage> ScreencopyScreenSource::grab(const QRect& rect)
{
    if (rect.isEmpty())
        return QImage();
    const PixelSize size = m_reader->desktopSize();
    return readInsideOrBlack(rect, QRect(0, 0, size.width, size.height),
        [this](const PixelRect& part) { return m_reader->readDesktop(part); });
}

} // namespace quorvex
