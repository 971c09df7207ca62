#pragma once

#include "capture/screen_source.h"
#include "platform/wayland/screencopy_reader.h"

#include <memory>

namespace quorvex {

// The window program's screen on a wlroots desktop: the desktop read through screen copy. A
// Wayland client cannot read or even place other windows, so only the desktop (window 0) is read.
class ScreencopyScreenSource final : public ScreenSource {
public:
    // Rectangles asked for in the desktop picture's pixels, or in the compositor's logical layout
    // (the overlay's place, in Qt's global coordinates): then the picture holds the device pixels
    // there, a rectangle at scale 2 twice as wide and high.
    enum class Rects { Picture, Logical };
    explicit ScreencopyScreenSource(std::unique_ptr<ScreencopyReader> reader, Rects rects = Rects::Picture);

    QImage grab(WId window, bool clientArea, const QRect& rect) override;
    QSize screenSize() const override;

private:
    std::unique_ptr<ScreencopyReader> m_reader;
    Rects m_rects;
};

} // namespace quorvex
