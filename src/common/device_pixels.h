#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

// Qt lays windows out in logical pixels; a screen scaled by `ratio` has that many device pixels per
// logical pixel. Qt 6 keeps each screen's top-left corner where its device pixels put it and scales
// the rest from there, rounding each position and each size to the nearest device pixel (halves away
// from zero). Pictures are in device pixels, so the overlay and the window grabs convert with these.
namespace quorvex {

struct ScreenScale {
    QPoint origin; // the screen's top-left corner: the same in logical and in device pixels
    double ratio = 1;

    bool operator==(const ScreenScale&) const = default;
};

int toDeviceLength(int logical, double ratio);
QSize toDeviceSize(QSize logical, double ratio);
// A point on the screen `scale` describes, in the desktop's device pixels.
QPoint toDevicePoint(QPoint logical, const ScreenScale& scale);

} // namespace quorvex
