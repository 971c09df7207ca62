#include "capture/grab_pixels.h"

#include <QPainter>

namespace quorvex {

QRect screenGrabRect(QSizeF screenTwips, const Twips& twips)
{
    return {0, 0, twips.wholePixelsX(screenTwips.width()), twips.wholePixelsY(screenTwips.height())};
}

QImage placedOnBlack(QSize size, const QImage& part, QPoint at)
{
    if (at.isNull() && part.size() == size && part.format() == QImage::Format_RGB32)
        return part;
    QImage result(size, QImage::Format_RGB32);
    if (result.isNull())
        return result;
    result.fill(Qt::black);
    if (!part.isNull())
        QPainter(&result).drawImage(at, part);
    return result;
}

QImage PictureFromBitmap(const QImage& bitmap)
{
    if (bitmap.isNull() || bitmap.format() == QImage::Format_RGB32)
        return bitmap;
    return bitmap.convertToFormat(QImage::Format_RGB32);
}

} // namespace quorvex
