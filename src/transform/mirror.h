#pragma once

#include <QImage>

namespace quorvex {

enum class MirrorKind {
    Horizontal, // left to right: (x, y) takes (w - 1 - x, y)
    Vertical, // top to bottom: (x, y) takes (x, h - 1 - y)
    HalfTurn, // both: (x, y) takes (w - 1 - x, h - 1 - y)
};

// The picture mirrored as `kind` says, at the same size, in RGB32. A null picture gives a null
// picture; so does a failed allocation of the result, which the caller can tell apart because it
// passed a picture that was not null.
QImage mirrored(const QImage& picture, MirrorKind kind);

} // namespace quorvex
