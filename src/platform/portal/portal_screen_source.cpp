#include "platform/portal/portal_screen_source.h"

#include "capture/grab_pixels.h"
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
    // Only the part on the desktop is read; black elsewhere, as on X11.
    const QRect inside = rect & QRect(0, 0, size.width, size.height);
    QImage pixels;
    if (!inside.isEmpty())
        pixels = pictureShowing(
            m_reader->readDesktop({inside.x(), inside.y(), inside.width(), inside.height()}));
    else
        m_reader->readDesktop({0, 0, size.width, size.height}); // this grab's screenshot is used up
    return placedOnBlack(rect.size(), pixels, inside.topLeft() - rect.topLeft());
}

} // namespace quorvex
