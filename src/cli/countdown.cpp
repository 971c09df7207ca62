#include "cli/countdown.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <thread>
#include <unistd.h>

namespace quorvex {

void waitCountingDown(double seconds, const char* what)
{
    using Clock = std::chrono::steady_clock;
    if (seconds <= 0)
        return;
    const Clock::time_point end
        = Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
    if (!::isatty(STDERR_FILENO)) {
        std::this_thread::sleep_until(end);
        return;
    }
    for (;;) {
        const double left = std::chrono::duration<double>(end - Clock::now()).count();
        if (left <= 0)
            break;
        const double whole = std::ceil(left);
        std::fprintf(stderr, "\rquorvex7: %s in %.0f s \x1b[K", what, whole);
        std::fflush(stderr);
        // Until the next whole second is left.
        std::this_thread::sleep_for(std::chrono::duration<double>(left - (whole - 1)));
    }
    std::fputs("\r\x1b[K", stderr);
    std::fflush(stderr);
}

} // namespace quorvex
