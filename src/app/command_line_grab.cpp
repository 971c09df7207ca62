#include "app/command_line_grab.h"

#include "app/grab_file_name.h"
#include "capture/grab_window_rect.h"
#include "capture/xcb_screen_source.h"
#include "output/bmp_writer.h"
#include "output/dib_section.h"
#include "output/jpeg_writer.h"
#include "output/numbered_error.h"
#include "output/png_encoder.h"
#include "output/safe_file_replace.h"
#include "output/save_as.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <optional>
#include <thread>
#include <unistd.h>
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

QString cannotWrite(const QString& path, const QString& reason)
{
    return QStringLiteral("cannot write '%1': %2").arg(path, reason);
}

QString describeWriteFailure(const QString& path, const NumberedError& error)
{
    // A file-system failure ends the description with its errno: say it in words.
    bool isNumber = false;
    const int code = error.description().section(QLatin1Char(' '), -1).toInt(&isNumber);
    const QString reason
        = isNumber && code > 0 ? QString::fromLocal8Bit(std::strerror(code)) : error.description();
    return cannotWrite(path, reason);
}

// Why a grab of `region` came back empty: the screen could not be read, or its picture did not fit
// in memory.
QString missingPictureReason(const QRect& region)
{
    return QImage(region.size(), QImage::Format_RGB32).isNull()
        ? QStringLiteral("not enough memory for a %1x%2 picture").arg(region.width()).arg(region.height())
        : QStringLiteral("the screen could not be read");
}

// What is grabbed, from where.
struct Grab {
    XcbScreenSource& screen;
    QRect region;
    int quality;

    QImage picture() const
    {
        return GrabWindowRect(screen, 0, false, region.x(), region.y(), region.width(), region.height())
            .convertToFormat(QImage::Format_RGB32);
    }
};

// JPEG strip by strip from the screen into the encoder: fresh memory is slow to touch, and a
// whole-screen buffer would be touched only once. Empty when done; nullopt when the display
// cannot be read that way.
std::optional<QString> grabJpegInBands(const Grab& grab, const QString& path)
{
    try {
        BandedJpegWriter writer(grab.region.width(), grab.region.height(), grab.quality);
        const bool read = grab.screen.readDesktopInBands(
            grab.region, kGrabBandRows, [&](const uchar* rows, int count, qsizetype bytesPerLine) {
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

// PNG the same way, strip by strip; the whole picture where the display keeps another layout.
EncodedPng grabPng(const Grab& grab)
{
    {
        PngEncoder encoder(grab.region.width(), grab.region.height(), PixelLayout::Xrgb32);
        if (grab.screen.readDesktopInBands(
                grab.region, kGrabBandRows, [&](const uchar* rows, int count, qsizetype bytesPerLine) {
                    encoder.addRows(rows, count, bytesPerLine);
                }))
            return encoder.finish();
    }
    const QImage picture = grab.picture();
    if (picture.isNull())
        return {{}, missingPictureReason(grab.region).toStdString()};
    return encodePng({picture.constBits(), picture.width(), picture.height(), picture.bytesPerLine(),
        PixelLayout::Xrgb32});
}

QString pngFailure(const EncodedPng& png)
{
    return QStringLiteral("cannot make the PNG file: %1").arg(QString::fromStdString(png.error));
}

// The picture as a DIB section: the rows of a BMP file.
std::optional<QString> grabDib(const Grab& grab, cDIBSection& section)
{
    const QImage picture = grab.picture();
    if (picture.isNull())
        return missingPictureReason(grab.region);
    section.CreateFromPicture(picture);
    if (!section.DIBSectionBitsPtr())
        return QStringLiteral("not enough memory for a %1x%2 picture")
            .arg(picture.width())
            .arg(picture.height());
    return std::nullopt;
}

// Grabs into the file at `path`, replacing it safely. Empty when written, else why not.
QString grabToFile(const Grab& grab, GrabFormat format, const QString& path)
{
    switch (format) {
    case GrabFormat::Jpeg: {
        if (const std::optional<QString> failure = grabJpegInBands(grab, path))
            return *failure;
        const QImage picture = grab.picture();
        if (picture.isNull())
            return missingPictureReason(grab.region);
        try {
            WriteJpegFile(picture, path, grab.quality);
        } catch (const NumberedError& error) {
            return describeWriteFailure(path, error);
        }
        return {};
    }
    case GrabFormat::Png: {
        const EncodedPng png = grabPng(grab);
        if (!png.ok())
            return pngFailure(png);
        const FileWriteResult result = replaceFileContents(path,
            {QByteArrayView(reinterpret_cast<const char*>(png.bytes.data()), qsizetype(png.bytes.size()))});
        return result.ok() ? QString() : cannotWrite(path, result.message());
    }
    case GrabFormat::Bmp:
        break;
    }
    cDIBSection section;
    if (const std::optional<QString> failure = grabDib(grab, section))
        return *failure;
    const FileWriteResult result = WriteBmpFile(section, path);
    return result.ok() ? QString() : cannotWrite(path, result.message());
}

// A new, empty file in `folder`, so that the grab replaces only a file of its own; or why none
// could be made.
struct NewFile {
    QString path;
    QString failure;
};

// Named after `moment`, with a number after the name where a file of that name is there already.
NewFile reserveNewFile(const QString& folder, const QDateTime& moment, GrabFormat format)
{
    for (int attempt = 1; attempt <= 1000; ++attempt) {
        const QString path = QDir(folder).filePath(grabFileName(moment, format, attempt));
        const int fd
            = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            ::close(fd);
            return {path, {}};
        }
        if (errno != EEXIST)
            return {{},
                QStringLiteral("cannot write into '%1': %2")
                    .arg(folder, QString::fromLocal8Bit(std::strerror(errno)))};
    }
    return {{}, QStringLiteral("cannot write into '%1': every name for this moment is taken").arg(folder)};
}

QString grabToNewFileIn(const Grab& grab, GrabFormat format, const QString& folder)
{
    const NewFile file = reserveNewFile(folder, QDateTime::currentDateTime(), format);
    if (!file.failure.isEmpty())
        return file.failure;
    const QString failure = grabToFile(grab, format, file.path);
    if (!failure.isEmpty())
        QFile::remove(file.path);
    return failure;
}

QString writeToStandardOutput(const char* bytes, size_t size)
{
    // SIGPIPE is ignored (main): a reader that goes away is EPIPE here, reported like any failure.
    while (size > 0) {
        const ssize_t written = ::write(STDOUT_FILENO, bytes, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0)
            return QStringLiteral("cannot write to standard output: %1")
                .arg(QString::fromLocal8Bit(std::strerror(errno)));
        bytes += written;
        size -= size_t(written);
    }
    return {};
}

QString grabToStandardOutput(const Grab& grab, GrabFormat format)
{
    switch (format) {
    case GrabFormat::Png: {
        const EncodedPng png = grabPng(grab);
        if (!png.ok())
            return pngFailure(png);
        return writeToStandardOutput(reinterpret_cast<const char*>(png.bytes.data()), png.bytes.size());
    }
    case GrabFormat::Bmp: {
        cDIBSection section;
        if (const std::optional<QString> failure = grabDib(grab, section))
            return *failure;
        const QByteArray headers = bmpFileHeaders(section);
        const QString failure = writeToStandardOutput(headers.constData(), size_t(headers.size()));
        return failure.isEmpty()
            ? writeToStandardOutput(
                reinterpret_cast<const char*>(section.DIBSectionBitsPtr()), section.bitmapInfo().biSizeImage)
            : failure;
    }
    case GrabFormat::Jpeg:
        break;
    }
    try {
        // Strip by strip as for a file; the whole picture where the display keeps another layout.
        BandedJpegWriter writer(grab.region.width(), grab.region.height(), grab.quality);
        const auto addRows = [&](const uchar* rows, int count, qsizetype bytesPerLine) {
            writer.addRows(rows, count, bytesPerLine);
        };
        if (!grab.screen.readDesktopInBands(grab.region, kGrabBandRows, addRows)) {
            const QImage picture = grab.picture();
            if (picture.isNull())
                return missingPictureReason(grab.region);
            addRows(picture.constBits(), picture.height(), picture.bytesPerLine());
        }
        const QByteArrayView jpeg = writer.finishInMemory();
        return writeToStandardOutput(jpeg.data(), size_t(jpeg.size()));
    } catch (const NumberedError& error) {
        return QStringLiteral("cannot make the JPEG file: %1").arg(error.description());
    }
}

} // namespace

int runCommandLineGrab(const CommandLine& command, const GrabEnvironment& environment, QString& errorLine)
{
    errorLine = unreadableScreenReason(environment);
    if (!errorLine.isEmpty())
        return 1;
    const bool toStandardOutput = command.file == QLatin1String("-");
    const bool intoFolder
        = !toStandardOutput && (command.file.endsWith(QLatin1Char('/')) || QFileInfo(command.file).isDir());
    std::optional<GrabFormat> format = command.format;
    if (!format)
        format = toStandardOutput || intoFolder ? GrabFormat::Png : grabFormatForName(command.file);
    if (!format) {
        errorLine
            = QStringLiteral("'%1': only names ending in PNG, JPG or BMP can be written (or give --format)")
                  .arg(command.file);
        return 1;
    }
    if (command.quality && *format != GrabFormat::Jpeg) {
        errorLine = QStringLiteral("--quality goes with JPEG only");
        return 1;
    }
    if (toStandardOutput && ::isatty(STDOUT_FILENO)) {
        errorLine
            = QStringLiteral("standard output is a terminal: pipe the picture on or redirect it to a file");
        return 1;
    }
    if (isReadOnlyFile(command.file)) {
        errorLine = cannotWrite(command.file, kReadOnlyFileReason);
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
    const Grab grab{screen, region, command.quality.value_or(kJpegSaveQuality)};
    if (toStandardOutput)
        errorLine = grabToStandardOutput(grab, *format);
    else if (intoFolder)
        errorLine = grabToNewFileIn(grab, *format, command.file);
    else
        errorLine = grabToFile(grab, *format, command.file);
    return errorLine.isEmpty() ? 0 : 1;
}

} // namespace quorvex
