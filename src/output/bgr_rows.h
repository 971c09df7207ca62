#pragma once

#include <QRgb>
#include <QtGlobal>

// Pixel-row conversions between Qt's 32-bit pixels and the three-byte blue-green-red rows of a
// device-independent bitmap.
namespace quorvex {

// `count` pixels of `source` to 3 x count bytes (blue, green, red) at `target`; alpha is dropped.
void rgb32ToBgrRow(const QRgb* source, uchar* target, int count);

// 3 x count bytes (blue, green, red) of `source` to `count` opaque pixels at `target`.
void bgrToRgb32Row(const uchar* source, QRgb* target, int count);

} // namespace quorvex
