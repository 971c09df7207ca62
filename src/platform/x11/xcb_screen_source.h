#pragma once

#include "capture/screen_source.h"
#include "platform/x11/xcb_screen_reader.h"

namespace quorvex {

// The window program's X11 screen: reads through an XcbScreenReader on Qt's connection and shows
// its buffers as pictures without a copy where their layout allows.
class XcbScreenSource final : public ScreenSource {
public:
    XcbScreenSource(xcb_connection_t* connection, bool sharedMemory);

    QImage grab(WId window, bool clientArea, const QRect& rect) override;
    QSize screenSize() const override;
    QString unreadableReason() const override;
    bool usesSharedMemory() const { return m_reader.usesSharedMemory(); }

private:
    XcbScreenReader m_reader;
};

} // namespace quorvex
