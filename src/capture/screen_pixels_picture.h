#pragma once

#include "capture/screen_reader.h"

#include <QImage>
#include <QRect>
#include <functional>

namespace quorvex {

// A picture (Format_RGB32) that shows `pixels` where they lie, keeping their memory until the
// picture goes; empty for empty pixels.
QImage pictureShowing(const ScreenPixels& pixels);

// The picture of `rect` where only `readable` can be read (a screen refuses rectangles that leave
// it): `read` gives the part inside, black shows elsewhere. Empty when the read fails, so a failed
// read never makes a picture that is not the screen.
QImage readInsideOrBlack(
    const QRect& rect, const QRect& readable, const std::function<ScreenPixels(const PixelRect&)>& read);

} // namespace quorvex
