#pragma once

#include "common/result.h"
#include "platform/clipboard_keeper.h"

#include <chrono>
#include <functional>
#include <poll.h>
#include <string>
#include <vector>

struct wl_display;

namespace quorvex {

// Sends what is queued to `display`, waits up to `timeoutMs` (-1: without end) until the display or
// another of `watched` (whose first entry this sets to the display's) is ready, and handles the
// display's events. Fails once the display went away.
Status dispatchDisplayEvents(wl_display* display, std::vector<pollfd>& watched, int timeoutMs);

// The pipes of the programs reading our Wayland clipboard, each written as fast as its reader takes
// the bytes, so that no reader holds up another.
class ClipboardTransfers {
public:
    ClipboardTransfers() = default;
    ClipboardTransfers(const ClipboardTransfers&) = delete;
    ClipboardTransfers& operator=(const ClipboardTransfers&) = delete;
    ~ClipboardTransfers();

    // A reader asks for `mimeType` through `fd`, which is ours from now on (closed at once where none
    // of `offers` has that type).
    void start(const std::vector<ClipboardOffer>& offers, const char* mimeType, int fd);

    // Handles `display`'s events and writes to the readers, until `over()` holds and no reader is left.
    Status serve(wl_display* display, const std::function<bool()>& over);

private:
    using Clock = std::chrono::steady_clock;
    struct Transfer {
        int fd;
        const std::string* bytes;
        size_t sent = 0;
        Clock::time_point last;
    };

    // Writes what each reader can take now; a reader that has everything, or went away, is done.
    void write(const std::vector<pollfd>& ready);

    std::vector<Transfer> m_transfers;
};

} // namespace quorvex
