#pragma once

#include "capture/screen_reader.h"
#include "common/result.h"
#include "platform/portal/portal_protocol.h"

#include <functional>
#include <optional>
#include <string>

namespace quorvex {

// The largest desktop a screenshot may show: 16384 x 16384 device pixels.
inline constexpr long long kMostDesktopPixels = 16384LL * 16384;

// A line for the person running the program that is no failure (the desktop is about to ask them
// something, a file was kept), said once, when it becomes true.
using SayLine = std::function<void(const std::string& line)>;

// A reader whose every read is a screenshot of the whole desktop that a desktop service makes on
// request (the portal, KWin): the size is known only from a screenshot, so one is kept for the read
// that follows; a read without one kept takes a new one.
class ScreenshotReader : public ScreenReader {
public:
    // Takes a screenshot now and keeps it; or why there is none.
    Status takeScreenshot()
    {
        m_kept.reset();
        Result<ScreenPixels> pixels = screenshot();
        if (!pixels)
            return fail(pixels.error());
        m_kept = *pixels;
        m_lastSize = {pixels->width, pixels->height};
        return {};
    }
    bool hasScreenshot() const { return m_kept.has_value(); }
    // The last screenshot's size (none yet: 0 x 0).
    PixelSize desktopSize() const override { return m_lastSize; }
    // `rect` of the kept screenshot, taken now if there is none; each screenshot serves one read.
    ScreenPixels readDesktop(const PixelRect& rect) override
    {
        if (!m_kept && !takeScreenshot())
            return {};
        const ScreenPixels whole = *m_kept;
        m_kept.reset();
        return croppedPixels(whole, rect);
    }

protected:
    // A new screenshot of the whole desktop, or why there is none.
    virtual Result<ScreenPixels> screenshot() = 0;

private:
    std::optional<ScreenPixels> m_kept;
    PixelSize m_lastSize;
};

} // namespace quorvex
