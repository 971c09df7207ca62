#include "output/jpeg_writer.h"

#include <QFile>

namespace quorvex {

bool WriteJpegFile(const cDIBSection& section, const QString& path, int quality)
{
    writeJpegFile(section.DIBSectionBitsPtr(), section.Width(), section.Height(), section.BytesPerScanLine(),
        JpegRows::Bgr24BottomUp, QFile::encodeName(path).toStdString(), quality);
    return true;
}

bool WriteJpegFile(const QImage& picture, const QString& path, int quality)
{
    if (picture.format() != QImage::Format_RGB32 && picture.format() != QImage::Format_ARGB32)
        return WriteJpegFile(picture.convertToFormat(QImage::Format_RGB32), path, quality);
    writeJpegFile(picture.constBits(), picture.width(), picture.height(), int(picture.bytesPerLine()),
        JpegRows::Xrgb32, QFile::encodeName(path).toStdString(), quality);
    return true;
}

} // namespace quorvex
