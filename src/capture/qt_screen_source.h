#pragma once

#include "capture/screen_source.h"

namespace quorvex {

// Reads the screen through Qt's own screen grab (on X11, GetImage on the window).
class QtScreenSource final : public ScreenSource {
public:
    QImage grab(WId window, bool clientArea, const QRect& rect) override;
    QSize screenSize() const override;
};

} // namespace quorvex
