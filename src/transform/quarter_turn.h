#pragma once

#include <QImage>

namespace quorvex {

// Exact quarter turns: width and height are exchanged and every pixel of the picture lands exactly
// once in the result, which is RGB32. A null picture, or a failed allocation of the result, gives
// a null picture.

// The former top edge ends up along the right side: (x, y) moves to (h - 1 - y, x).
QImage turnedClockwise(const QImage& picture);

// The former top edge ends up along the left side: (x, y) moves to (y, w - 1 - x).
QImage turnedCounterClockwise(const QImage& picture);

} // namespace quorvex
