#include "platform/screenshot_screen_source.h"

#include "capture/screen_pixels_picture.h"

#include <QEventLoop>
#include <mutex>
#include <thread>

namespace quorvex {

namespace {

// The desktop may take its time (GNOME asks the person first, for up to two minutes): the screenshot
// is taken on a thread of its own while the window's events run on. The bus's one connection serves
// one screenshot at a time: one asked for meanwhile (an overlay's timer) waits its turn.
Status takeWithEventsRunning(ScreenshotReader& reader)
{
    static std::mutex busTurn;
    Status result;
    bool finished = false;
    QEventLoop loop;
    std::thread worker([&] {
        Status taken;
        {
            const std::lock_guard turn(busTurn);
            taken = reader.takeScreenshot();
        }
        QMetaObject::invokeMethod(
            &loop,
            [&, taken] {
                result = taken;
                finished = true;
                loop.quit();
            },
            Qt::QueuedConnection);
    });
    while (!finished)
        loop.exec();
    worker.join();
    return result;
}

} // namespace

ScreenshotScreenSource::ScreenshotScreenSource(std::unique_ptr<ScreenshotReader> reader)
    : m_reader(std::move(reader))
{
}

bool ScreenshotScreenSource::haveScreenshot() const
{
    m_lastFailure.clear();
    if (!m_reader->hasScreenshot())
        if (const Status taken = takeWithEventsRunning(*m_reader); !taken)
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
