#include "platform/wayland/data_device_clipboard_server.h"

#include "platform/wayland/clipboard_transfers.h"
#include "platform/wayland/shm_memory.h"

#include "xdg-shell-client-protocol.h"
#include <wayland-client.h>

#include <chrono>
#include <cstring>
#include <poll.h>
#include <unistd.h>

namespace quorvex {

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kFocusTimeoutMs = 5000;

// The keeper's side of the desktop's clipboard through the core protocol: a window of one transparent
// pixel is shown just long enough to get the keyboard's focus, whose serial lets the selection be set;
// the data source then serves it with no window at all.
struct Session {
    const std::vector<ClipboardOffer>* offers = nullptr;
    wl_display* display = nullptr;
    wl_registry* registry = nullptr;
    wl_compositor* compositor = nullptr;
    wl_shm* shm = nullptr;
    wl_seat* seat = nullptr;
    wl_keyboard* keyboard = nullptr;
    wl_data_device_manager* manager = nullptr;
    wl_data_device* device = nullptr;
    wl_data_source* source = nullptr;
    xdg_wm_base* wmBase = nullptr;
    wl_surface* surface = nullptr;
    xdg_surface* xdgSurface = nullptr;
    xdg_toplevel* toplevel = nullptr;
    std::unique_ptr<ShmMemory> pixel;
    wl_buffer* buffer = nullptr;
    bool configured = false;
    uint32_t focusSerial = 0;
    bool focused = false;
    bool cancelled = false;
    ClipboardTransfers transfers;

    ~Session()
    {
        hideWindow();
        if (source)
            wl_data_source_destroy(source);
        if (device)
            wl_data_device_destroy(device);
        if (keyboard)
            wl_keyboard_destroy(keyboard);
        for (wl_proxy* global : {reinterpret_cast<wl_proxy*>(manager), reinterpret_cast<wl_proxy*>(wmBase),
                 reinterpret_cast<wl_proxy*>(seat), reinterpret_cast<wl_proxy*>(shm),
                 reinterpret_cast<wl_proxy*>(compositor), reinterpret_cast<wl_proxy*>(registry)})
            if (global)
                wl_proxy_destroy(global);
        if (display)
            wl_display_disconnect(display);
    }

    void hideWindow()
    {
        if (toplevel)
            xdg_toplevel_destroy(toplevel);
        if (xdgSurface)
            xdg_surface_destroy(xdgSurface);
        if (surface)
            wl_surface_destroy(surface);
        if (buffer)
            wl_buffer_destroy(buffer);
        toplevel = nullptr;
        xdgSurface = nullptr;
        surface = nullptr;
        buffer = nullptr;
    }

    static void global(
        void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t version)
    {
        auto* s = static_cast<Session*>(data);
        const auto bind = [&](const wl_interface& type, uint32_t most) {
            return wl_registry_bind(registry, name, &type, std::min(version, most));
        };
        if (std::strcmp(interface, wl_compositor_interface.name) == 0)
            s->compositor = static_cast<wl_compositor*>(bind(wl_compositor_interface, 4));
        else if (std::strcmp(interface, wl_shm_interface.name) == 0)
            s->shm = static_cast<wl_shm*>(bind(wl_shm_interface, 1));
        else if (std::strcmp(interface, wl_seat_interface.name) == 0 && !s->seat) {
            s->seat = static_cast<wl_seat*>(bind(wl_seat_interface, 1));
            wl_seat_add_listener(s->seat, &kSeatListener, s);
        } else if (std::strcmp(interface, wl_data_device_manager_interface.name) == 0)
            s->manager = static_cast<wl_data_device_manager*>(bind(wl_data_device_manager_interface, 3));
        else if (std::strcmp(interface, xdg_wm_base_interface.name) == 0) {
            s->wmBase = static_cast<xdg_wm_base*>(bind(xdg_wm_base_interface, 1));
            xdg_wm_base_add_listener(s->wmBase, &kWmBaseListener, s);
        }
    }
    static void globalRemove(void*, wl_registry*, uint32_t) { }
    static constexpr wl_registry_listener kRegistryListener = {&global, &globalRemove};

    static void capabilities(void* data, wl_seat* seat, uint32_t caps)
    {
        auto* s = static_cast<Session*>(data);
        if ((caps & WL_SEAT_CAPABILITY_KEYBOARD) && !s->keyboard) {
            s->keyboard = wl_seat_get_keyboard(seat);
            wl_keyboard_add_listener(s->keyboard, &kKeyboardListener, s);
        }
    }
    static void seatName(void*, wl_seat*, const char*) { }
    static constexpr wl_seat_listener kSeatListener = {&capabilities, &seatName};

    static void keymap(void*, wl_keyboard*, uint32_t, int32_t fd, uint32_t) { close(fd); }
    static void enter(void* data, wl_keyboard*, uint32_t serial, wl_surface*, wl_array*)
    {
        auto* s = static_cast<Session*>(data);
        s->focusSerial = serial;
        s->focused = true;
    }
    static void leave(void*, wl_keyboard*, uint32_t, wl_surface*) { }
    static void key(void*, wl_keyboard*, uint32_t, uint32_t, uint32_t, uint32_t) { }
    static void modifiers(void*, wl_keyboard*, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t) { }
    static constexpr wl_keyboard_listener kKeyboardListener
        = {&keymap, &enter, &leave, &key, &modifiers, nullptr};

    static void ping(void*, xdg_wm_base* base, uint32_t serial) { xdg_wm_base_pong(base, serial); }
    static constexpr xdg_wm_base_listener kWmBaseListener = {&ping};
    static void xdgConfigure(void* data, xdg_surface* xdgSurface, uint32_t serial)
    {
        auto* s = static_cast<Session*>(data);
        xdg_surface_ack_configure(xdgSurface, serial);
        if (!s->configured && s->buffer) { // the window shows once it has its pixel
            wl_surface_attach(s->surface, s->buffer, 0, 0);
            wl_surface_damage_buffer(s->surface, 0, 0, 1, 1);
        }
        s->configured = true;
        wl_surface_commit(s->surface);
    }
    static constexpr xdg_surface_listener kXdgSurfaceListener = {&xdgConfigure};
    static void toplevelConfigure(void*, xdg_toplevel*, int32_t, int32_t, wl_array*) { }
    static void toplevelClose(void*, xdg_toplevel*) { }
    static constexpr xdg_toplevel_listener kToplevelListener
        = {&toplevelConfigure, &toplevelClose, nullptr, nullptr};

    static void send(void* data, wl_data_source*, const char* mimeType, int32_t fd)
    {
        auto* s = static_cast<Session*>(data);
        s->transfers.start(*s->offers, mimeType, fd);
    }
    static void target(void*, wl_data_source*, const char*) { }
    static void sourceCancelled(void* data, wl_data_source*)
    {
        static_cast<Session*>(data)->cancelled = true;
    }
    static constexpr wl_data_source_listener kSourceListener
        = {&target, &send, &sourceCancelled, nullptr, nullptr, nullptr};

    // Shows the window of one transparent pixel and waits until it has the keyboard's focus.
    Status takeFocus()
    {
        pixel = ShmMemory::create(4);
        if (!pixel)
            return fail("not enough memory for the clipboard keeper's window");
        buffer = pixel->createBuffer(shm, 1, 1, 4, WL_SHM_FORMAT_ARGB8888);
        surface = wl_compositor_create_surface(compositor);
        xdgSurface = xdg_wm_base_get_xdg_surface(wmBase, surface);
        xdg_surface_add_listener(xdgSurface, &kXdgSurfaceListener, this);
        toplevel = xdg_surface_get_toplevel(xdgSurface);
        xdg_toplevel_add_listener(toplevel, &kToplevelListener, this);
        xdg_toplevel_set_title(toplevel, "Quorvex7 clipboard");
        xdg_toplevel_set_app_id(toplevel, "io.github.quorvex7.Quorvex7");
        wl_surface_commit(surface);
        const Clock::time_point end = Clock::now() + std::chrono::milliseconds(kFocusTimeoutMs);
        while (!focused) {
            const auto left
                = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count();
            if (left <= 0)
                return fail("the desktop did not give the clipboard keeper's window the keyboard within 5 s");
            std::vector<pollfd> watched(1);
            if (const Status handled = dispatchDisplayEvents(display, watched, int(left)); !handled)
                return handled;
        }
        return {};
    }
};

} // namespace

Status serveWaylandClipboardWithFocus(
    const std::vector<ClipboardOffer>& offers, const std::string& display, const std::function<void()>& held)
{
    Session s;
    s.offers = &offers;
    s.display = wl_display_connect(display.empty() ? nullptr : display.c_str());
    if (!s.display)
        return fail("cannot open the Wayland display '" + display + "'");
    s.registry = wl_display_get_registry(s.display);
    wl_registry_add_listener(s.registry, &Session::kRegistryListener, &s);
    if (wl_display_roundtrip(s.display) < 0 || wl_display_roundtrip(s.display) < 0)
        return fail("the Wayland display went away");
    if (!s.compositor || !s.shm || !s.seat || !s.manager || !s.wmBase)
        return fail("this Wayland compositor offers neither data control nor a clipboard a window can set");
    if (Status focus = s.takeFocus(); !focus)
        return focus;
    s.device = wl_data_device_manager_get_data_device(s.manager, s.seat);
    s.source = wl_data_device_manager_create_data_source(s.manager);
    wl_data_source_add_listener(s.source, &Session::kSourceListener, &s);
    for (const ClipboardOffer& offer : offers)
        wl_data_source_offer(s.source, offer.mimeType.c_str());
    wl_data_device_set_selection(s.device, s.source, s.focusSerial);
    if (wl_display_roundtrip(s.display) < 0)
        return fail("the Wayland display went away");
    // The selection is the source's now, with no window: the one pixel goes again.
    s.hideWindow();
    if (wl_display_roundtrip(s.display) < 0)
        return fail("the Wayland display went away");
    if (s.cancelled)
        return fail("the compositor did not take the selection");
    held();

    return s.transfers.serve(s.display, [&] { return s.cancelled; });
}

} // namespace quorvex
