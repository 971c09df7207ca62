#pragma once

#include "capture/screen_reader.h"
#include "common/result.h"
#include "platform/screenshot_reader.h"

#include <chrono>
#include <ctime>
#include <string>

namespace quorvex {

// The largest file the portal's picture may be: the largest desktop stored without any compression.
inline constexpr long long kMostPortalFileBytes = kMostDesktopPixels * 4 + (1 << 20);

// The moment a request begins, on the clock file systems stamp new files with, just after it ticked:
// every file made before it is stamped earlier, every file made after it is stamped no earlier. (A
// portal may make its file within the same tick as the request; so a moment of a finer clock would
// not do.) Waits up to one tick of that clock.
timespec requestMoment();

// The portal's PNG file named by `uri`: opened without a planted link, read only where it is a regular
// file of plausible size and only until `deadline`, decoded as 32-bit pixels. Then it is deleted where
// it is provably the file made for the request that began at `requestStart`: a regular file of the
// user's with no other name, made after that moment, still the one of that name. Any other is kept,
// and `say` tells where it stays.
Result<ScreenPixels> takePortalPicture(const std::string& uri, const timespec& requestStart,
    std::chrono::steady_clock::time_point deadline, const SayLine& say);

} // namespace quorvex
