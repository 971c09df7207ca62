#include "platform/x11/xcb_screen_source.h"

#include "capture/screen_pixels_picture.h"
#include "capture/window_grab.h"
#include "platform/x11/active_window.h"
#include "platform/x11/qt_x11_connection.h"

namespace quorvex {

XcbScreenSource::XcbScreenSource(xcb_connection_t* connection, bool sharedMemory)
    : m_reader(connection, sharedMemory, qtX11ScreenNumber())
{
}

Status XcbScreenSource::readable() const
{
    return m_reader.readable();
}

Result<QSize> XcbScreenSource::screenSize() const
{
    const PixelSize size = m_reader.desktopSize();
    return QSize(size.width, size.height);
}

ActiveWindow XcbScreenSource::activeWindow()
{
    return x11ActiveWindow();
}

QImage XcbScreenSource::grabWindow(WId window, bool clientArea, const QRect& rect)
{
    if (!m_reader.readable() || rect.isEmpty())
        return {};
    const QRect source = clientAreaRect(window, clientArea, rect);
    const std::optional<PixelSize> drawable = m_reader.drawableSize(uint32_t(window));
    if (!drawable)
        return {};
    return readInsideOrBlack(source, QRect(0, 0, drawable->width, drawable->height),
        [&](const PixelRect& part) { return m_reader.read(uint32_t(window), part); });
}

} // namespace quorvex
