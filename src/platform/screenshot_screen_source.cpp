#include "platform/screenshot_screen_source.h"

#include "capture/screen_pixels_picture.h"

namespace quorvex {

ScreenshotScreenSource::ScreenshotScreenSource(std::unique_ptr<ScreenshotReader> reader)
    : m_reader(std::move(reader))
{
}

bool ScreenshotScreenSource::haveScreenshot() const
{
    m_lastFailure.clear();
    if (!m_reader->hasScreenshot())
        if (const Status taken = m_reader->takeScreenshot(); !taken)
            m_lastFailure = QString::fromStdString(taken.error());
    return m_lastFailure.isEmpty();
}

QSize ScreenshotScreenSource::screenSize() const
{
    if (!haveScreenshot())
        return {};
    const PixelSize size = m_reader->desktopSize();
    return {size.width, size.height};
}

QImage ScreenshotScreenSource::grab(WId window, bool, const QRect& rect)
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
