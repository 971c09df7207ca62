#pragma once

#include <QImage>

namespace quorvex {

// Pictures are RGB32 everywhere in the program (what the X11 grab gives); a picture in any other
// format is converted once on the way in, so the pixel loops can read and write 32-bit words.
inline QImage asRgb32(const QImage& picture)
{
    if (picture.isNull() || picture.format() == QImage::Format_RGB32)
        return picture;
    return picture.convertToFormat(QImage::Format_RGB32);
}

} // namespace quorvex
