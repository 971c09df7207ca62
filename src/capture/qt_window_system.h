#pragma once

#include "capture/active_window_query.h"
#include "capture/overlay_window_system.h"

namespace quorvex {

// The overlay on a display system we have no backend for: no shapes (the red shows), on top by the
// window flags alone, nothing to wait for.
class QtOverlayWindowSystem final : public OverlayWindowSystem {
public:
    bool supportsShaping() const override { return false; }
    void applyShape(QWidget& window, const QRegion& shape) override;
    void makeTopmost(QWidget& window) override;
    void waitForDisplay() override { }
    void waitForWindowManagerShape(QWidget&, int) override { }
};

// A desktop that reports no active window; the capture then takes our own focused window.
class NoActiveWindowQuery final : public ActiveWindowQuery {
public:
    ActiveWindow activeWindow() override { return {}; }
};

// Shared instances, for windows built without a backend of their own (tests, other platforms).
OverlayWindowSystem& qtOverlayWindowSystem();
ActiveWindowQuery& noActiveWindowQuery();

} // namespace quorvex
