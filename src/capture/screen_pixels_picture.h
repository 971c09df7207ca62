#pragma once

#include "capture/screen_reader.h"

#include <QImage>

namespace quorvex {

// A picture (Format_RGB32) that shows `pixels` where they lie, keeping their memory until the
// picture goes; empty for empty pixels.
QImage pictureShowing(const ScreenPixels& pixels);

} // namespace quorvex
