#include "platform/wayland/clipboard_transfers.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#include <wayland-client.h>

namespace quorvex {

namespace {

// A reader that takes no bytes for this long has gone away.
constexpr auto kStalled = std::chrono::seconds(10);

} // namespace

ClipboardTransfers::~ClipboardTransfers()
{
    for (const Transfer& t : m_transfers)
        close(t.fd);
}

void ClipboardTransfers::start(const std::vector<ClipboardOffer>& offers, const char* mimeType, int fd)
{
    const auto offer = std::find_if(
        offers.begin(), offers.end(), [&](const ClipboardOffer& o) { return o.mimeType == mimeType; });
    if (offer == offers.end()) {
        close(fd);
        return;
    }
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
    m_transfers.push_back({fd, &offer->bytes, 0, Clock::now()});
}

Status dispatchDisplayEvents(wl_display* display, std::vector<pollfd>& watched, int timeoutMs)
{
    // Once the connection breaks, events read with the error stay queued: reading is never ready.
    while (wl_display_prepare_read(display) != 0)
        if (wl_display_dispatch_pending(display) < 0)
            return fail("the Wayland display went away");
    wl_display_flush(display);
    watched[0] = {wl_display_get_fd(display), POLLIN, 0};
    if (poll(watched.data(), watched.size(), timeoutMs) < 0 && errno != EINTR) {
        wl_display_cancel_read(display);
        return fail(std::string("cannot wait for the Wayland display: ") + std::strerror(errno));
    }
    if (watched[0].revents & POLLIN) {
        if (wl_display_read_events(display) < 0)
            return fail("the Wayland display went away");
    } else {
        wl_display_cancel_read(display);
    }
    if (wl_display_dispatch_pending(display) < 0)
        return fail("the Wayland display went away");
    return {};
}

Status ClipboardTransfers::serve(wl_display* display, const std::function<bool()>& over)
{
    for (;;) {
        if (over() && m_transfers.empty())
            return {};
        std::vector<pollfd> watched(1); // the display's, then each reader's pipe
        for (const Transfer& t : m_transfers)
            watched.push_back({t.fd, POLLOUT, 0});
        if (const Status handled = dispatchDisplayEvents(display, watched, m_transfers.empty() ? -1 : 1000);
            !handled)
            return handled;
        write(watched);
    }
}

void ClipboardTransfers::write(const std::vector<pollfd>& ready)
{
    const Clock::time_point now = Clock::now();
    std::erase_if(m_transfers, [&](Transfer& t) {
        const auto polled
            = std::find_if(ready.begin(), ready.end(), [&](const pollfd& p) { return p.fd == t.fd; });
        bool over = now - t.last > kStalled;
        if (polled != ready.end() && polled->revents) {
            const ssize_t written = ::write(t.fd, t.bytes->data() + t.sent, t.bytes->size() - t.sent);
            if (written > 0) {
                t.sent += size_t(written);
                t.last = now;
            } else if (written < 0 && errno != EAGAIN && errno != EINTR) {
                over = true;
            }
        }
        over = over || t.sent == t.bytes->size();
        if (over)
            close(t.fd);
        return over;
    });
}

} // namespace quorvex
