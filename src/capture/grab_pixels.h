#pragma once

#include "common/numeric.h"

#include <QImage>
#include <QRect>
#include <QSizeF>

// Plain arithmetic of a grab: which pixels the whole screen is, and the picture the pixels become.
namespace quorvex {

// Pixel rectangle of the whole screen from its size in twips: each side \ twips per pixel.
QRect screenGrabRect(QSizeF screenTwips, const Twips& twips);

// A picture of `size` showing `part` at `at`, black elsewhere; `part` itself when it fills it all.
QImage placedOnBlack(QSize size, const QImage& part, QPoint at);

// Wraps grabbed pixels as the program's picture type. The palette of 256-colour displays has no
// counterpart here: X11 true-colour visuals carry their colours in the pixels.
QImage PictureFromBitmap(const QImage& bitmap);

} // namespace quorvex
