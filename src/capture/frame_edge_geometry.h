#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <Qt>

// Sizing a frameless window by a frame of our own: which edges a point grabs, the cursor that says
// so, and the geometry a drag gives. Pixels throughout.
namespace quorvex {

// How far from a corner, along the frame, a press takes both edges at once.
inline constexpr int kFrameCornerReach = 12;

// The edges of a window of `window` size that the point `local` (window coordinates) lies on when the
// frame is `framePixels` thick; none when it lies inside the frame or outside the window.
Qt::Edges frameEdgesAt(QPoint local, QSize window, int framePixels);

Qt::CursorShape cursorForEdges(Qt::Edges edges);

// The window's geometry after the pointer moved by `delta` while dragging `edges` of a window that
// was `start`: the edges not dragged stay where they were, and the size stays within
// [minimum, maximum] (a dragged left or top edge stops where that limit is reached).
QRect resizedByFrame(const QRect& start, Qt::Edges edges, QPoint delta, QSize minimum, QSize maximum);

} // namespace quorvex
