#include "output/jpeg_writer.h"

#include <QFile>

namespace quorvex {

void WriteJpegFile(const cDIBSection& section, const QString& path, int quality)
{
    saveJpegPixels(section.DIBSectionBitsPtr(), section.Width(), section.Height(), section.BytesPerScanLine(),
        QFile::encodeName(path).toStdString(), quality);
}

} // namespace quorvex
