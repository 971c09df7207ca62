#pragma once

#include "capture/overlay_window_system.h"

namespace quorvex {

// The overlay on X11: shapes through the SHAPE extension on Qt's connection, round trips to know
// a shape is in force, and a wait for a reparenting window manager to copy it onto its frame.
class X11OverlayWindowSystem final : public OverlayWindowSystem {
public:
    bool supportsShaping() const override;
    void applyShape(QWidget& window, const QRegion& shape) override;
    void makeTopmost(QWidget& window) override;
    void waitForDisplay() override;
    // Also until a reparenting window manager's frame has it (a quarter second at most).
    void waitForShape(QWidget& window) override;
    // Asked of the X server: a window manager may have placed it where logical pixels cannot say.
    QPoint deviceTopLeft(const QWidget& window) const override;
};

} // namespace quorvex
