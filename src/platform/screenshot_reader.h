#pragma once

#include "capture/screen_reader.h"
#include "common/result.h"

#include <functional>
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
    virtual Status takeScreenshot() = 0;
    virtual bool hasScreenshot() const = 0;
};

} // namespace quorvex
