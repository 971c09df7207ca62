#pragma once

#include "capture/overlay_window_system.h"
#include "capture/screen_source.h"
#include "platform/still/still_picture.h"

#include <memory>

namespace quorvex {

// The overlay on a still picture of the desktop (still_picture.h): a child widget of the still, cut
// to its shape by a mask, placed and sized on it as on a desktop of its own.
class StillOverlayWindowSystem final : public OverlayWindowSystem {
public:
    explicit StillOverlayWindowSystem(std::shared_ptr<StillPicture> still);

    Status prepareOverlay(QScreen* home) override { return m_still->take(home); }
    bool supportsShaping() const override { return true; }
    void applyShape(QWidget& window, const QRegion& shape) override;
    void makeTopmost(QWidget& window) override { m_still->hold(window); }
    void waitForDisplay() override { }
    QPoint deviceTopLeft(const QWidget& window) const override;
    double deviceRatio(const QWidget& window) const override;

private:
    std::shared_ptr<StillPicture> m_still;
};

// The overlay's grabs on a still: each one read from the live desktop with the still hidden.
class StillHidingScreenSource final : public ScreenSource {
public:
    explicit StillHidingScreenSource(std::shared_ptr<StillPicture> still);

    Result<QImage> grab(const QRect& rect) override;
    Result<QSize> screenSize() const override { return m_still->desktopSize(); }

private:
    std::shared_ptr<StillPicture> m_still;
};

} // namespace quorvex
