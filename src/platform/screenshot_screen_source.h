#pragma once

#include "capture/screen_source.h"
#include "platform/screenshot_reader.h"

#include <memory>

namespace quorvex {

// The window program's screen through a desktop service's screenshots (the portal, KWin): the size is
// known only from a screenshot, so screenSize() takes one and the grab after it reads that same one.
class ScreenshotScreenSource final : public ScreenSource {
public:
    explicit ScreenshotScreenSource(std::unique_ptr<ScreenshotReader> reader);

    Result<QImage> grab(const QRect& rect) override;
    Result<QSize> screenSize() const override;

private:
    // A screenshot kept for the next grab, taken now where there is none.
    Status haveScreenshot() const;

    std::unique_ptr<ScreenshotReader> m_reader;
};

} // namespace quorvex
