#pragma once

#include <chrono>

namespace quorvex {

// How long the whole-screen grab waits: from the clock reading t (seconds since midnight) until
// the whole second after t rounded, so between half a second and one and a half.
std::chrono::milliseconds wholeSecondWait(double secondsSinceMidnight);

// Wall clock read for the wait's length; a seam so tests can start the wait at any time of day.
class WallClock {
public:
    virtual ~WallClock() = default;
    virtual double secondsSinceMidnight() const = 0;
};

class SystemWallClock final : public WallClock {
public:
    double secondsSinceMidnight() const override;
};

// Lets events run for `duration`, measured on a monotonic clock (so it ends across midnight), in
// a local event loop that sleeps instead of spinning.
void waitWithEvents(std::chrono::milliseconds duration);

} // namespace quorvex
