#pragma once

#include <QByteArray>
#include <QImage>
#include <algorithm>
#include <cstdlib>
#include <memory>
#include <turbojpeg.h>

namespace outputtest {

// Decodes with TurboJPEG itself, top row first; null when the bytes are no JPEG.
inline QImage decodeJpeg(const QByteArray& bytes)
{
    const std::unique_ptr<void, int (*)(tjhandle)> decoder(tjInitDecompress(), tjDestroy);
    int width = 0, height = 0, subsampling = 0, colourspace = 0;
    auto* data = reinterpret_cast<const unsigned char*>(bytes.constData());
    if (tjDecompressHeader3(decoder.get(), data, bytes.size(), &width, &height, &subsampling, &colourspace)
        != 0)
        return {};
    QImage image(width, height, QImage::Format_RGB32);
    if (tjDecompress2(decoder.get(), data, bytes.size(), image.bits(), width, int(image.bytesPerLine()),
            height, TJPF_BGRX, 0)
        != 0)
        return {};
    return image;
}

// The largest difference of any colour channel.
inline int channelDistance(QRgb a, QRgb b)
{
    return std::max(
        {std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))});
}

inline double meanDistance(const QImage& a, const QImage& b)
{
    double sum = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            sum += channelDistance(a.pixel(x, y), b.pixel(x, y));
    return sum / (double(a.width()) * a.height());
}

} // namespace outputtest
