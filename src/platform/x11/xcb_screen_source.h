#pragma once

#include "capture/screen_source.h"
#include "capture/window_source.h"
#include "platform/x11/xcb_screen_reader.h"

namespace quorvex {

// The window program's X11 screen and windows: reads through an XcbScreenReader on Qt's connection
// and shows its buffers as pictures without a copy where their layout allows.
class XcbScreenSource final : public ScreenSource, public WindowSource {
public:
    XcbScreenSource(xcb_connection_t* connection, bool sharedMemory);

    Result<QImage> grab(const QRect& rect) override { return grabWindow(0, false, rect); }
    Result<QSize> screenSize() const override;
    ActiveWindow activeWindow() override;
    QImage grabWindow(WId window, bool clientArea, const QRect& rect) override;
    Status readable() const override;
    bool usesSharedMemory() const { return m_reader.usesSharedMemory(); }

private:
    XcbScreenReader m_reader;
};

} // namespace quorvex
