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

Status ScreenshotScreenSource::haveScreenshot() const
{
    return m_reader->hasScreenshot() ? Status() : takeWithEventsRunning(*m_reader);
}

Result<QSize> ScreenshotScreenSource::screenSize() const
{
    if (const Status taken = haveScreenshot(); !taken)
        return fail(taken.error());
    const PixelSize size = m_reader->desktopSize();
    return QSize(size.width, size.height);
}

Result<QImage> ScreenshotScreenSource::grab(const QRect& rect)
{
    if (rect.isEmpty())
        return QImage();
    if (const Status taken = haveScreenshot(); !taken)
        return fail(taken.error());
    const PixelSize size = m_reader->desktopSize();
    const QRect desktop(0, 0, size.width, size.height);
    if (!rect.intersects(desktop))
        m_reader->readDesktop({0, 0, size.width, size.height}); // this grab's screenshot is used up
    return readInsideOrBlack(
        rect, desktop, [this](const PixelRect& part) { return m_reader->readDesktop(part); });
}

} // namespace quorvex
