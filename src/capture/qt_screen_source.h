#pragma once

#include "capture/screen_source.h"
#include "capture/window_source.h"

namespace quorvex {

// Reads the screen and our own windows through Qt's own screen grab (on X11, GetImage on the
// window); no window is reported active.
class QtScreenSource final : public ScreenSource, public WindowSource {
public:
    Result<QImage> grab(const QRect& rect) override { return grabWindow(0, false, rect); }
    Result<QSize> screenSize() const override;
    ActiveWindow activeWindow() override { return {}; }
    QImage grabWindow(WId window, bool clientArea, const QRect& rect) override;
};

} // namespace quorvex
