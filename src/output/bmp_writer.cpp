#include "output/bmp_writer.h"

#include <QFile>

namespace quorvex {

QByteArray bmpFileHeaders(const cDIBSection& section)
{
    if (section.DIBSectionBitsPtr() == nullptr)
        return {};
    const auto headers = bmpFileHeaders(section.bitmapInfo());
    return QByteArray(reinterpret_cast<const char*>(headers.data()), qsizetype(headers.size()));
}

Status writeBmpFile(const cDIBSection& section, const QString& path)
{
    return writeBmpFile(
        section.bitmapInfo(), section.DIBSectionBitsPtr(), QFile::encodeName(path).toStdString());
}

} // namespace quorvex
