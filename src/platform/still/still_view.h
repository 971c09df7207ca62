#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

namespace quorvex {

// Which part of a picture of the whole desktop a full-screen still on one output shows, and how
// many of the picture's pixels fall on one of the still's logical pixels.
struct StillView {
    QRect source; // in the picture's (device) pixels
    double ratio = 1;

    bool operator==(const StillView&) const = default;
};

// `desktop` and `output` in logical pixels, as Qt lays the screens out; `picture` covers `desktop`.
StillView stillView(QSize picture, const QRect& desktop, const QRect& output);

// A point on the still (logical pixels from its top-left corner) in the picture's pixels.
QPoint stillToPicture(const StillView& view, QPoint onStill);

} // namespace quorvex
