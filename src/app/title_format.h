#pragma once

#include <QString>

namespace quorvex {

// "Quorvex7 - (WxH)" with the picture view's outer size in pixels.
QString titleInWholePixels(double widthPixels, double heightPixels);
QString titleInSinglePrecision(float widthPixels, float heightPixels);

} // namespace quorvex
