#include "capture/screen_pixels_picture.h"

#include "capture/grab_pixels.h"

namespace quorvex {

QImage pictureShowing(const ScreenPixels& pixels)
{
    if (pixels.isEmpty())
        return {};
    auto* keeper = new std::shared_ptr<void>(pixels.keeper);
    QImage picture(
        pixels.bits, pixels.width, pixels.height, qsizetype(pixels.stride), QImage::Format_RGB32,
        [](void* held) { delete static_cast<std::shared_ptr<void>*>(held); }, keeper);
    if (picture.isNull())
        delete keeper;
    return picture;
}

QImage readInsideOrBlack(
    const QRect& rect, const QRect& readable, const std::function<ScreenPixels(const PixelRect&)>& read)
{
    const QRect inside = rect & readable;
    QImage pixels;
    if (!inside.isEmpty()) {
        pixels = pictureShowing(read({inside.x(), inside.y(), inside.width(), inside.height()}));
        if (pixels.isNull())
            return {};
    }
    return placedOnBlack(rect.size(), pixels, inside.topLeft() - rect.topLeft());
}

} // namespace quorvex
