#include "app/command_line_grab.h"

#include "capture/grab_window_rect.h"
#include "capture/xcb_screen_source.h"
#include "output/bmp_writer.h"
#include "output/dib_section.h"
#include "output/jpeg_writer.h"
#include "output/numbered_error.h"
#include "output/save_as.h"

#include <chrono>
#include <cstring>
#include <memory>
#include <optional>
#include <thread>
#include <xcb/xcb.h>

namespace quorvex {

GrabEnvironment GrabEnvironment::fromProcess()
{
    return {qgetenv("DISPLAY"), qgetenv("WAYLAND_DISPLAY"), qgetenv("XDG_SESSION_TYPE")};
}

QString unreadableScreenReason(const GrabEnvironment& environment)
{
    const bool wayland = environment.sessionType == "wayland" || !environment.waylandDisplay.isEmpty();
    if (wayland)
        return QStringLiteral("this is a Wayland session: the screen cannot be read through X11");
    if (environment.display.isEmpty())
        return QStringLiteral("no display: set DISPLAY (for example, run under Xvfb)");
    return {};
}

namespace {

// Rows read from the screen at a time: small enough to stay in the cache, large enough for few
// round trips.
constexpr int kGrabBandRows = 32;

QString describeWriteFailure(const QString& path, const NumberedError& error)
{
    // A file-system failure ends the description with its errno: say it in words.
    bool isNumber = false;
    const int code = error.description().section(QLatin1Char(' '), -1).toInt(&isNumber);
    const QString reason
        = isNumber && code > 0 ? QString::fromLocal8Bit(std::strerror(code)) : error.description();
    return QStringLiteral("cannot write '%1': %2").arg(path, reason);
}

// JPEG strip by strip from the screen into the encoder: fresh memory is slow to touch, and a
// whole-screen buffer would be touched only once. Empty when done; nullopt when the display
// cannot be read that way.
std::optional<QString> grabJpegInBands(XcbScreenSource& screen, const QRect& region, const QString& path)
{
    try {
        BandedJpegWriter writer(region.width(), region.height(), kJpegSaveQuality);
        const bool read = screen.readDesktopInBands(
            region, kGrabBandRows, [&](const uchar* rows, int count, qsizetype bytesPerLine) {
                writer.addRows(rows, count, bytesPerLine);
            });
        if (!read)
            return std::nullopt;
        writer.finish(path);
    } catch (const NumberedError& error) {
        return describeWriteFailure(path, error);
    }
    return QString();
}

QString writeFile(const QImage& picture, SaveFormat format, const QString& path)
{
    if (format == SaveFormat::Jpeg) {
        try {
            WriteJpegFile(picture, path, kJpegSaveQuality);
        } catch (const NumberedError& error) {
            return describeWriteFailure(path, error);
        }
        return {};
    }
    cDIBSection section;
    section.CreateFromPicture(picture);
    if (!section.DIBSectionBitsPtr())
        return QStringLiteral("not enough memory for a %1x%2 picture")
            .arg(picture.width())
            .arg(picture.height());
    const FileWriteResult result = WriteBmpFile(section, path);
    return result.ok() ? QString() : QStringLiteral("cannot write '%1': %2").arg(path, result.message());
}

} // namespace

int runCommandLineGrab(const CommandLine& command, const GrabEnvironment& environment, QString& errorLine)
{
    errorLine = unreadableScreenReason(environment);
    if (!errorLine.isEmpty())
        return 1;
    const SaveFormat format = saveFormatFor(command.file);
    if (format == SaveFormat::Unknown) {
        errorLine = QStringLiteral("'%1': only names ending in BMP or JPG can be written").arg(command.file);
        return 1;
    }
    if (isReadOnlyFile(command.file)) {
        errorLine = QStringLiteral("cannot write '%1': %2").arg(command.file, kReadOnlyFileReason);
        return 1;
    }
    if (command.delaySeconds > 0)
        std::this_thread::sleep_for(std::chrono::duration<double>(command.delaySeconds));

    const std::unique_ptr<xcb_connection_t, decltype(&xcb_disconnect)> connection(
        xcb_connect(environment.display.constData(), nullptr), &xcb_disconnect);
    if (xcb_connection_has_error(connection.get())) {
        errorLine = QStringLiteral("cannot open the X display '%1'")
                        .arg(QString::fromLocal8Bit(environment.display));
        return 1;
    }
    XcbScreenSource screen(connection.get(), false);
    errorLine = screen.unreadableReason();
    if (!errorLine.isEmpty())
        return 1;
    const QRect whole(QPoint(0, 0), screen.screenSize());
    const QRect region = command.region.value_or(whole);
    if (!whole.contains(region)) {
        errorLine = QStringLiteral("the region %1x%2%3%4%5%6 is not inside the %7x%8 screen")
                        .arg(region.width())
                        .arg(region.height())
                        .arg(region.x() < 0 ? "" : "+")
                        .arg(region.x())
                        .arg(region.y() < 0 ? "" : "+")
                        .arg(region.y())
                        .arg(whole.width())
                        .arg(whole.height());
        return 1;
    }
    if (format == SaveFormat::Jpeg) {
        if (const std::optional<QString> failure = grabJpegInBands(screen, region, command.file)) {
            errorLine = *failure;
            return errorLine.isEmpty() ? 0 : 1;
        }
    }
    const QImage picture
        = GrabWindowRect(screen, 0, false, region.x(), region.y(), region.width(), region.height());
    if (picture.isNull()) {
        // Empty when the screen could not be read, or when there is no memory for its picture.
        errorLine = QImage(region.size(), QImage::Format_RGB32).isNull()
            ? QStringLiteral("not enough memory for a %1x%2 picture").arg(region.width()).arg(region.height())
            : QStringLiteral("the screen could not be read");
        return 1;
    }
    errorLine = writeFile(picture, format, command.file);
    return errorLine.isEmpty() ? 0 : 1;
}

} // namespace quorvex
