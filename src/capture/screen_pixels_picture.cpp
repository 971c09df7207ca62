#include "capture/screen_pixels_picture.h"

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

} // namespace quorvex
