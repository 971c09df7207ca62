#include "output/clipboard.h"

#include <QBuffer>
#include <QClipboard>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QMimeData>
#include <QProcess>

namespace quorvex {

namespace {

// The keeper answers once it holds the clipboard; a display that lets nobody take it fails sooner.
constexpr int kKeeperTimeoutMs = 20000;

// The bytes Qt's clipboard serves for `format`: the same writer with the same settings.
QByteArray encoded(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

// Hands `image` to `keeper` for the clipboard of `display` ("x11", "wayland") as PNG and BMP; returns
// once the keeper holds it.
Status handToKeeper(const QImage& image, const QString& display, const QString& keeper)
{
    const std::pair<const char*, QByteArray> offers[]
        = {{"image/png", encoded(image, "PNG")}, {"image/bmp", encoded(image, "BMP")}};
    QStringList arguments{QStringLiteral("--keep-clipboard"), display};
    for (const auto& [type, bytes] : offers)
        arguments << QLatin1String(type) << QString::number(bytes.size());
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedOutputChannel); // its one line on stderr is ours to say
    process.start(keeper, arguments);
    if (!process.waitForStarted())
        return fail("cannot start " + keeper.toStdString() + ": " + process.errorString().toStdString());
    for (const auto& [type, bytes] : offers)
        process.write(bytes);
    process.closeWriteChannel();
    if (!process.waitForFinished(kKeeperTimeoutMs)) {
        process.kill();
        process.waitForFinished();
        return fail("the clipboard keeper did not answer");
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        // Its line, "quorvex7: why", without the program's name.
        const QString line = QString::fromLocal8Bit(process.readAllStandardError()).trimmed();
        const QString why = line.section(u'\n', 0, 0).section(QStringLiteral(": "), 1);
        return fail(why.isEmpty() ? std::string("the clipboard keeper could not take the clipboard")
                                  : why.toStdString());
    }
    return {};
}

} // namespace

bool CopyPictureToClipboard(const QImage& picture, QClipboard& clipboard)
{
    if (picture.isNull())
        return false;
    // New data replaces every format the clipboard offered before, so no separate clear is needed.
    clipboard.setImage(picture.convertToFormat(QImage::Format_RGB32));
    return true;
}

Status QtPictureClipboard::put(const QImage& picture)
{
    if (!CopyPictureToClipboard(picture, m_clipboard))
        return fail("there is no picture");
    return {};
}

Status KeptPictureClipboard::put(const QImage& picture)
{
    if (picture.isNull())
        return fail("there is no picture");
    // The same pixels Qt's clipboard would serve.
    return handToKeeper(picture.convertToFormat(QImage::Format_RGB32), QStringLiteral("wayland"), m_keeper);
}

Status keepClipboardAfterExit(QClipboard& clipboard, const QString& platform, const QString& keeper)
{
    const QString display = platform == QLatin1String("xcb") ? QStringLiteral("x11")
        : platform.startsWith(QLatin1String("wayland"))      ? QStringLiteral("wayland")
                                                             : QString();
    if (display.isEmpty() || !clipboard.ownsClipboard())
        return {};
    const QMimeData* data = clipboard.mimeData();
    const QImage image = data && data->hasImage() ? qvariant_cast<QImage>(data->imageData()) : QImage();
    if (image.isNull())
        return {};
    if (const Status held = handToKeeper(image, display, keeper); !held)
        return held;
    // Our own clipboard has lost the selection by now; once Qt has seen that, it does not offer its
    // copy to a clipboard manager on its way out as well.
    const QDeadlineTimer deadline(1000);
    while (clipboard.ownsClipboard() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    return {};
}

} // namespace quorvex
