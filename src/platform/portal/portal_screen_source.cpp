#include "platform/portal/portal_screen_source.h"

#include "capture/screen_pixels_picture.h"

namespace quorvex {

PortalScreenSource::PortalScreenSource(std::unique_ptr<PortalReader> reader)
    : m_reader(std::move(reader))
{
}

bool PortalScreenSource::haveScreenshot() const
{
    m_lastFailure.clear();
    if (!m_reader->hasScreenshot())
        m_lastFailure = QString::fromStdString(m_reader->takeScreenshot());
    return m_lastFailure.isEmpty();
}

QSize PortalScreenSource::screenSize() const
{
    if (!haveScreenshot())
        return {};
    const PixelSize size = m_reader->desktopSize();
    return {size.width, size.height};
}

QImage PortalScreenSource::grab(WId window, bool, const QRect& rect)
{
    if (window != 0 || rect.isEmpty() || !haveScreenshot())
        return {};
    const PixelSize size = m_reader->desktopSize();
    const QRect desktop(0, 0, size.width, size.height);
    if (!rect.intersects(desktop))
        m_reader->readDesktop({0, 0, size.width, size.height}); // this grab's screenshot is used up
    return readInsideOrBlack(
        rect, desktop, [this](const PixelRect& part) { return m_reader->readDesktop(part); });
}

} // namespace quorvex
