#include "output/bmp_writer.h"

#include <QDataStream>
#include <QIODevice>
#include <cerrno>

namespace quorvex {

QByteArray bmpFileHeaders(const cDIBSection& section)
{
    if (section.DIBSectionBitsPtr() == nullptr)
        return {};
    const BitmapInfoHeader& info = section.bitmapInfo();
    QByteArray headers;
    headers.reserve(kBmpHeadersSize);
    QDataStream out(&headers, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    // BITMAPFILEHEADER: "BM", file size, two reserved words, offset of the pixels.
    out << quint8('B') << quint8('M') << quint32(kBmpHeadersSize + info.biSizeImage) << quint16(0)
        << quint16(0) << quint32(kBmpHeadersSize);
    out << info.biSize << info.biWidth << info.biHeight << info.biPlanes << info.biBitCount
        << info.biCompression << info.biSizeImage << info.biXPelsPerMeter << info.biYPelsPerMeter
        << info.biClrUsed << info.biClrImportant;
    return headers;
}

FileWriteResult WriteBmpFile(const cDIBSection& section, const QString& path)
{
    const QByteArray headers = bmpFileHeaders(section);
    if (headers.isEmpty())
        return {EINVAL};
    const auto* pixels = reinterpret_cast<const char*>(section.DIBSectionBitsPtr());
    return replaceFileContents(path, {headers, QByteArrayView(pixels, section.bitmapInfo().biSizeImage)});
}

} // namespace quorvex
