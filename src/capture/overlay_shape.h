#pragma once

#include <QColor>
#include <QImage>
#include <QRect>
#include <QRegion>

// How the overlay looks and which of its pixels exist at all. Its back is pure red, and pure red is
// the transparency key: a red pixel is cut out of the window, so the screen below shows there and a
// click there reaches the window below.
namespace quorvex {

inline constexpr QRgb kTransparencyKey = 0xFFFF0000; // pure red
inline constexpr QRgb kHatchColour = 0xFFE0E0E0; // light grey (224, 224, 224)

// The selection frame s1: red back, and while `hatchAndBorder` is on a 1-pixel black border and a
// light-grey diagonal cross-hatch inside it. Format_RGB32. Painted as is, and keyed for the shape,
// so what shows and what exists are the same pixels.
QImage selectionFrameImage(QSize size, bool hatchAndBorder);

// Pixels of `image` that are not the transparency key.
QRegion regionOutsideKey(const QImage& image);

// Everything of the overlay window except its red pixels, in window coordinates: the frame of our
// own (everything outside `clientArea`), the parts of `opaqueControls` (client coordinates) that lie
// inside the client area, and the non-red pixels of `s1Look` drawn at `s1` (client coordinates).
QRegion overlayShape(QSize window, const QRect& clientArea, const QList<QRect>& opaqueControls,
    const QRect& s1, const QImage& s1Look);

} // namespace quorvex
