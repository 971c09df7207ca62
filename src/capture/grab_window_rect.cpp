#include "capture/grab_window_rect.h"

namespace quorvex {

QImage GrabWindowRect(ScreenSource& screen, WId window, bool client, int left, int top, int width, int height)
{
    if (width < 1 || height < 1)
        return {};
    return PictureFromBitmap(screen.grab(window, client, QRect(left, top, width, height)));
}

QImage PictureFromBitmap(const QImage& bitmap)
{
    if (bitmap.isNull() || bitmap.format() == QImage::Format_RGB32)
        return bitmap;
    return bitmap.convertToFormat(QImage::Format_RGB32);
}

} // namespace quorvex
