#include "capture/frame_edge_geometry.h"

#include <algorithm>

namespace quorvex {

namespace {

// One axis: the new start and length when the low edge, the high edge or neither is dragged.
struct Span {
    int start;
    int length;
};

Span resizedSpan(Span span, bool lowEdge, bool highEdge, int delta, int minimum, int maximum)
{
    const int high = span.start + span.length; // one past the last pixel
    if (highEdge)
        return {span.start, std::clamp(span.length + delta, minimum, maximum)};
    if (lowEdge) {
        const int length = std::clamp(span.length - delta, minimum, maximum);
        return {high - length, length};
    }
    return span;
}

} // namespace

Qt::Edges frameEdgesAt(QPoint local, QSize window, int framePixels)
{
    const int x = local.x();
    const int y = local.y();
    if (x < 0 || y < 0 || x >= window.width() || y >= window.height())
        return {};
    const bool onFrame = x < framePixels || y < framePixels || x >= window.width() - framePixels
        || y >= window.height() - framePixels;
    if (!onFrame)
        return {};
    const int reach = std::max(framePixels, kFrameCornerReach);
    Qt::Edges edges;
    if (x < reach)
        edges |= Qt::LeftEdge;
    else if (x >= window.width() - reach)
        edges |= Qt::RightEdge;
    if (y < reach)
        edges |= Qt::TopEdge;
    else if (y >= window.height() - reach)
        edges |= Qt::BottomEdge;
    return edges;
}

Qt::CursorShape cursorForEdges(Qt::Edges edges)
{
    const bool horizontal = edges & (Qt::LeftEdge | Qt::RightEdge);
    const bool vertical = edges & (Qt::TopEdge | Qt::BottomEdge);
    if (horizontal && vertical) {
        // Top-left and bottom-right corners lie on the "\" diagonal.
        const bool backslash = bool(edges & Qt::LeftEdge) == bool(edges & Qt::TopEdge);
        return backslash ? Qt::SizeFDiagCursor : Qt::SizeBDiagCursor;
    }
    if (horizontal)
        return Qt::SizeHorCursor;
    if (vertical)
        return Qt::SizeVerCursor;
    return Qt::ArrowCursor;
}

QRect resizedByFrame(const QRect& start, Qt::Edges edges, QPoint delta, QSize minimum, QSize maximum)
{
    const QSize largest = maximum.expandedTo(minimum);
    const Span x = resizedSpan({start.x(), start.width()}, edges & Qt::LeftEdge, edges & Qt::RightEdge,
        delta.x(), minimum.width(), largest.width());
    const Span y = resizedSpan({start.y(), start.height()}, edges & Qt::TopEdge, edges & Qt::BottomEdge,
        delta.y(), minimum.height(), largest.height());
    return {x.start, y.start, x.length, y.length};
}

} // namespace quorvex
