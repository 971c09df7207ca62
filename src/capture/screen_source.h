#pragma once

#include <QImage>
#include <QRect>
#include <QString>
#include <qwindowdefs.h>

namespace quorvex {

// Where screen pixels come from: the one place that knows how the display is read. Tests stand in
// a source with known pixels; the program uses the one its display system offers.
class ScreenSource {
public:
    virtual ~ScreenSource() = default;

    // Pixels of `rect` in pixels, measured from the top-left corner of `window`'s client area, or of
    // its outer frame when `clientArea` is false. Window 0 is the whole desktop (the root window).
    // The result is Format_RGB32 and exactly rect.size(); what lies outside the screen is black.
    virtual QImage grab(WId window, bool clientArea, const QRect& rect) = 0;

    // Size of the whole desktop in pixels (every monitor).
    virtual QSize screenSize() const = 0;

    // Why this screen's pixels cannot be read at all (a palette display), in one line starting in
    // lower case; empty when they can. grab() then returns only empty pictures.
    virtual QString unreadableReason() const { return {}; }

    // Why the last read (screenSize() or grab()) came back empty where the source can tell (a
    // desktop portal that refused or did not answer), in one line starting in lower case; empty
    // otherwise.
    virtual QString lastGrabFailure() const { return {}; }
};

} // namespace quorvex
