#include "platform/wayland/data_control_clipboard_server.h"

#include "wlr-data-control-unstable-v1-client-protocol.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>
#include <wayland-client.h>

namespace quorvex {

namespace {

using Clock = std::chrono::steady_clock;

// A reader that takes no bytes for this long has gone away.
constexpr auto kStalled = std::chrono::seconds(10);

// One reader's pipe, written as fast as it reads so no reader holds up another.
struct Transfer {
    int fd;
    const std::string* bytes;
    size_t sent = 0;
    Clock::time_point last;
};

struct Session {
    const std::vector<ClipboardOffer>* offers = nullptr;
    wl_display* display = nullptr;
    wl_registry* registry = nullptr;
    wl_seat* seat = nullptr;
    zwlr_data_control_manager_v1* manager = nullptr;
    zwlr_data_control_v1* device = nullptr;
    zwlr_data_control_source_v1* source = nullptr;
    zwlr_data_control_offer_v1* selection = nullptr; // what the device last said the selection is
    std::vector<Transfer> transfers;
    bool cancelled = false; // another client's selection replaced ours
    bool finished = false; // the seat went away

    ~Session()
    {
        for (const Transfer& t : transfers)
            close(t.fd);
        if (selection)
            zwlr_data_control_offer_v1_destroy(selection);
        if (source)
            zwlr_data_control_source_v1_destroy(source);
        if (device)
            zwlr_data_control_v1_destroy(device);
        if (manager)
            zwlr_data_control_manager_v1_destroy(manager);
        if (seat)
            wl_seat_destroy(seat);
        if (registry)
            wl_registry_destroy(registry);
        if (display)
            wl_display_disconnect(display);
    }

    static void global(void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t)
    {
        auto* s = static_cast<Session*>(data);
        if (std::strcmp(interface, wl_seat_interface.name) == 0 && !s->seat)
            s->seat = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
        else if (std::strcmp(interface, zwlr_data_control_manager_v1_interface.name) == 0)
            s->manager = static_cast<zwlr_data_control_manager_v1*>(
                wl_registry_bind(registry, name, &zwlr_data_control_manager_v1_interface, 1));
    }
    static void globalRemove(void*, wl_registry*, uint32_t) { }
    static constexpr wl_registry_listener kRegistryListener = {&global, &globalRemove};

    static void send(void* data, zwlr_data_control_source_v1*, const char* mimeType, int32_t fd)
    {
        auto* s = static_cast<Session*>(data);
        const auto offer = std::find_if(s->offers->begin(), s->offers->end(),
            [&](const ClipboardOffer& o) { return o.mimeType == mimeType; });
        if (offer == s->offers->end()) {
            close(fd);
            return;
        }
        fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
        s->transfers.push_back({fd, &offer->bytes, 0, Clock::now()});
    }
    static void sourceCancelled(void* data, zwlr_data_control_source_v1*)
    {
        static_cast<Session*>(data)->cancelled = true;
    }
    static constexpr zwlr_data_control_source_v1_listener kSourceListener = {&send, &sourceCancelled};

    static void dataOffer(void*, zwlr_data_control_v1*, zwlr_data_control_offer_v1*) { }
    static void selected(void* data, zwlr_data_control_v1*, zwlr_data_control_offer_v1* offer)
    {
        auto* s = static_cast<Session*>(data);
        if (s->selection && s->selection != offer)
            zwlr_data_control_offer_v1_destroy(s->selection);
        s->selection = offer;
    }
    static void deviceFinished(void* data, zwlr_data_control_v1*)
    {
        static_cast<Session*>(data)->finished = true;
    }
    static constexpr zwlr_data_control_v1_listener kDeviceListener = {&dataOffer, &selected, &deviceFinished};

    // Writes what each reader can take now; a reader that has everything, or went away, is done.
    void write(const std::vector<pollfd>& ready)
    {
        const Clock::time_point now = Clock::now();
        std::erase_if(transfers, [&](Transfer& t) {
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
};

} // namespace

namespace {

Status serveThroughDataControl(
    Session& s, const std::vector<ClipboardOffer>& offers, const std::function<void()>& held)
{
    if (!s.seat)
        return fail("this Wayland compositor has no seat");

    s.device = zwlr_data_control_manager_v1_get_data_control(s.manager, s.seat);
    zwlr_data_control_v1_add_listener(s.device, &Session::kDeviceListener, &s);
    s.source = zwlr_data_control_manager_v1_create_data_source(s.manager);
    zwlr_data_control_source_v1_add_listener(s.source, &Session::kSourceListener, &s);
    for (const ClipboardOffer& offer : offers)
        zwlr_data_control_source_v1_offer(s.source, offer.mimeType.c_str());
    zwlr_data_control_v1_set_selection(s.device, s.source);
    if (wl_display_roundtrip(s.display) < 0)
        return fail("the Wayland display went away");
    if (s.cancelled || s.finished)
        return fail("the compositor did not take the selection");
    held();

    for (;;) {
        if ((s.cancelled || s.finished) && s.transfers.empty())
            return {};
        while (wl_display_prepare_read(s.display) != 0)
            wl_display_dispatch_pending(s.display);
        wl_display_flush(s.display);
        std::vector<pollfd> watched{{wl_display_get_fd(s.display), POLLIN, 0}};
        for (const Transfer& t : s.transfers)
            watched.push_back({t.fd, POLLOUT, 0});
        const int timeoutMs = s.transfers.empty() ? -1 : 1000;
        if (poll(watched.data(), watched.size(), timeoutMs) < 0 && errno != EINTR) {
            wl_display_cancel_read(s.display);
            return fail(std::string("cannot wait for the Wayland display: ") + std::strerror(errno));
        }
        if (watched[0].revents & POLLIN) {
            if (wl_display_read_events(s.display) < 0)
                return fail("the Wayland display went away");
        } else {
            wl_display_cancel_read(s.display);
        }
        if (wl_display_dispatch_pending(s.display) < 0)
            return fail("the Wayland display went away");
        s.write(watched);
    }
}

} // namespace

Status serveWaylandClipboard(const std::vector<ClipboardOffer>& offers, const std::string& display,
    const std::function<void()>& held, const std::function<Status()>& withoutDataControl)
{
    {
        Session s;
        s.offers = &offers;
        s.display = wl_display_connect(display.empty() ? nullptr : display.c_str());
        if (!s.display)
            return fail("cannot open the Wayland display '" + display + "'");
        s.registry = wl_display_get_registry(s.display);
        wl_registry_add_listener(s.registry, &Session::kRegistryListener, &s);
        if (wl_display_roundtrip(s.display) < 0)
            return fail("the Wayland display went away");
        if (s.manager)
            return serveThroughDataControl(s, offers, held);
    } // the keeper holds no connection it does not serve through
    return withoutDataControl();
}

} // namespace quorvex
