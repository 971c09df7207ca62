// Gives a headless sway's seat a pointer: a virtual pointer device, held until this process is
// stopped. sway offers clients a pointer only while its seat has one, and then
// `swaymsg seat seat0 cursor set/press/release` drives it.
#include "wlr-virtual-pointer-unstable-v1-client-protocol.h"

#include <csignal>
#include <cstdio>
#include <cstring>
#include <unistd.h>
#include <wayland-client.h>

namespace {

zwlr_virtual_pointer_manager_v1* manager = nullptr;

void global(void*, wl_registry* registry, uint32_t name, const char* interface, uint32_t)
{
    if (std::strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0)
        manager = static_cast<zwlr_virtual_pointer_manager_v1*>(
            wl_registry_bind(registry, name, &zwlr_virtual_pointer_manager_v1_interface, 1));
}
void globalRemove(void*, wl_registry*, uint32_t)
{
}
constexpr wl_registry_listener kRegistryListener = {&global, &globalRemove};

} // namespace

int main()
{
    wl_display* display = wl_display_connect(nullptr);
    if (!display) {
        std::fprintf(stderr, "virtual_pointer: no Wayland display\n");
        return 1;
    }
    wl_registry_add_listener(wl_display_get_registry(display), &kRegistryListener, nullptr);
    wl_display_roundtrip(display);
    if (!manager) {
        std::fprintf(stderr, "virtual_pointer: the compositor offers no virtual pointer\n");
        return 1;
    }
    zwlr_virtual_pointer_manager_v1_create_virtual_pointer(manager, nullptr);
    wl_display_roundtrip(display);
    std::puts("ready");
    std::fflush(stdout);
    // Held until stopped; the compositor drops the device with the connection.
    while (wl_display_dispatch(display) >= 0) { }
    return 0;
}
