#include "output/save_as.h"

#include "common/message_box.h"
#include "output/bmp_writer.h"
#include "output/dib_section.h"
#include "output/jpeg_writer.h"
#include "output/numbered_error.h"
#include "output/safe_file_replace.h"

#include <QFile>

namespace quorvex {

namespace {

bool writeBmp(const QImage& image, const QString& path)
{
    cDIBSection section;
    section.CreateFromPicture(image);
    return section.hDib() != 0 && writeBmpFile(section, path).ok();
}

bool writeJpeg(const QImage& image, const QString& path)
{
    cDIBSection section;
    section.CreateFromPicture(image);
    if (section.hDib() == 0)
        return false;
    WriteJpegFile(section, path, kJpegSaveQuality); // a failure throws
    return true;
}

} // namespace

SaveFormat saveFormatFor(const QString& path)
{
    const QString ending = path.right(3).toUpper();
    if (ending == QLatin1String("BMP"))
        return SaveFormat::Bmp;
    if (ending == QLatin1String("JPG"))
        return SaveFormat::Jpeg;
    return SaveFormat::Unknown;
}

void SaveGrabbedImage(
    SaveFileDialog& dialog, MessageBoxes& messages, QWidget* owner, const PictureViewAccess& pic1)
{
    QString fileName, fileTitle, filter = kSaveFilter;
    int filterIndex = 1, flags = 0;
    if (!ShowSaveFileDialog(dialog, fileName, fileTitle, true, filter, filterIndex, QString(), QString(),
            QStringLiteral("JPG"), owner, flags))
        return;

    const SaveFormat format = saveFormatFor(fileName);
    if (format == SaveFormat::Unknown) {
        messages.show(
            {QStringLiteral("Nothing was saved to '%1': only names ending in BMP or JPG can be written.")
                    .arg(fileName),
                MessageIcon::Exclamation});
        return;
    }
    const QString failed
        = QStringLiteral("Failed to save the picture to the file: '") + fileName + QLatin1Char('\'');
    if (isReadOnlyFile(QFile::encodeName(fileName)
                           .toStdString())) { // the user's "do not touch": said before any work is done
        messages.show(
            {failed + QStringLiteral(": ") + QLatin1String(kReadOnlyFileReason), MessageIcon::Exclamation});
        return;
    }
    bool saved = false;
    try {
        const QImage shown = pic1.surfaceImage();
        if (format == SaveFormat::Bmp) {
            saved = writeBmp(shown, fileName);
        } else {
            pic1.replacePicture(shown);
            saved = writeJpeg(shown, fileName);
        }
    } catch (const NumberedError&) {
        saved = false; // its description is not for users: the warning below says what failed
    }
    if (!saved)
        messages.show({failed, MessageIcon::Exclamation});
}

} // namespace quorvex
