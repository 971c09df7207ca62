#pragma once

#include "capture/screen_source.h"
#include "platform/screenshot_reader.h"

#include <memory>

namespace quorvex {

// The window program's screen through a desktop service's screenshots (the portal, KWin): the size is
// known only from a screenshot, so screenSize() takes one and the grab after it reads that same one.
// Only the desktop (window 0) is read.
class ScreenshotScreenSource final : public ScreenSource {
public:
    explicit ScreenshotScreenSource(std::unique_ptr<ScreenshotReader> reader);

    QImage grab(WId window, bool clientArea, const QRect& rect) override;
    QSize screenSize() const override;
    QString lastGrabFailure() const override { return m_lastFailure; }

private:
    // A screenshot kept for the next grab, taken now where there is none; false when it failed.
    bool haveScreenshot() const;

    std::unique_ptr<ScreenshotReader> m_reader;
    mutable QString m_lastFailure;
};

} // namespace quorvex
