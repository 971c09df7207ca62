#pragma once

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
};

} // namespace quorvex
