#pragma once

#include <QImage>
#include <QRect>
#include <QSize>
#include <qwindowdefs.h>

namespace quorvex {

// A window of the desktop and its size; window 0 when there is none.
struct ActiveWindow {
    WId window = 0;
    QSize size;
};

// Windows as a display system that lets a program read any window shows them (X11; none on
// Wayland, where a client reads no window): which one is active, and the pixels of each.
class WindowSource {
public:
    virtual ~WindowSource() = default;

    // The window the desktop reports as active; none when it does not say.
    virtual ActiveWindow activeWindow() = 0;

    // Pixels of `rect` in pixels, measured from the top-left corner of `window`'s client area, or of
    // its outer frame when `clientArea` is false. Format_RGB32 and exactly rect.size(), black outside
    // the window; empty where the window cannot be read.
    virtual QImage grabWindow(WId window, bool clientArea, const QRect& rect) = 0;
};

} // namespace quorvex
