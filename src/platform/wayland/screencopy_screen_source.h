#pragma once

#include "capture/screen_source.h"
#include "platform/wayland/screencopy_reader.h"

#include <memory>

namespace quorvex {

// The window program's screen on a wlroots desktop: the desktop read through screen copy. A
// Wayland client cannot read or even place other windows, so only the desktop (window 0) is read.
class ScreencopyScreenSource final : public ScreenSource {
public:
    explicit ScreencopyScreenSource(std::unique_ptr<ScreencopyReader> reader);

    Result<QImage> grab(const QRect& rect) override;
    Result<QSize> screenSize() const override;

private:
    std::unique_ptr<ScreencopyReader> m_reader;
};

} // namespace quorvex
