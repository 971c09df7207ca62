#pragma once

#include "common/result.h"

#include <QImage>
#include <QRect>

namespace quorvex {

// Where the desktop's pixels come from: the one place that knows how the display is read. Tests
// stand in a source with known pixels; the program uses the one its display system offers.
class ScreenSource {
public:
    virtual ~ScreenSource() = default;

    // Pixels of `rect` of the whole desktop (every monitor), measured from its top-left corner:
    // Format_RGB32 and exactly rect.size(), black outside the desktop. An empty picture where nothing
    // was read; a failure where the source can say why (a desktop portal that refused or did not
    // answer).
    virtual Result<QImage> grab(const QRect& rect) = 0;

    // Size of the whole desktop in pixels; a failure as grab()'s.
    virtual Result<QSize> screenSize() const = 0;

    // Whether this screen's pixels can be read at all (not on a palette display); where they cannot,
    // grab() returns only empty pictures.
    virtual Status readable() const { return {}; }
};

} // namespace quorvex
