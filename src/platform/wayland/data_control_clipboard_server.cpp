#include "platform/wayland/data_control_clipboard_server.h"

#include "platform/wayland/clipboard_transfers.h"

#include "wlr-data-control-unstable-v1-client-protocol.h"

#include <cstring>
#include <wayland-client.h>

namespace quorvex {

namespace {

struct Session {
    const std::vector<ClipboardOffer>* offers = nullptr;
    wl_display* display = nullptr;
    wl_registry* registry = nullptr;
    wl_seat* seat = nullptr;
    zwlr_data_control_manager_v1* manager = nullptr;
    zwlr_data_control_v1* device = nullptr;
    zwlr_data_control_source_v1* source = nullptr;
    zwlr_data_control_offer_v1* selection = nullptr; // what the device last said the selection is
    ClipboardTransfers transfers;
    bool cancelled = false; // another client's selection replaced ours
    bool finished = false; // the seat went away

    ~Session()
    {
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
        s->transfers.start(*s->offers, mimeType, fd);
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

    return s.transfers.serve(s.display, [&] { return s.cancelled || s.finished; });
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
