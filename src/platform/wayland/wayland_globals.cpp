#include "platform/wayland/wayland_globals.h"

#include <cstring>
#include <wayland-client.h>

namespace quorvex {

namespace {

void global(void* data, wl_registry*, uint32_t, const char* interface, uint32_t)
{
    auto* globals = static_cast<WaylandGlobals*>(data);
    if (std::strcmp(interface, "zwlr_screencopy_manager_v1") == 0)
        globals->screencopy = true;
    else if (std::strcmp(interface, "zwlr_layer_shell_v1") == 0)
        globals->layerShell = true;
    else if (std::strcmp(interface, "zwlr_data_control_manager_v1") == 0)
        globals->dataControl = true;
}

constexpr wl_registry_listener kRegistryListener = {&global, [](void*, wl_registry*, uint32_t) {}};

} // namespace

Result<WaylandGlobals> readWaylandGlobals(const std::string& display)
{
    // libwayland writes its own complaints to stderr; ours is the one line that says what failed.
    wl_log_set_handler_client([](const char*, va_list) {});
    wl_display* connection = wl_display_connect(display.empty() ? nullptr : display.c_str());
    if (!connection)
        return fail("cannot open the Wayland display '" + display + "'");
    WaylandGlobals globals;
    wl_registry* registry = wl_display_get_registry(connection);
    wl_registry_add_listener(registry, &kRegistryListener, &globals);
    const bool answered = wl_display_roundtrip(connection) >= 0;
    wl_registry_destroy(registry);
    wl_display_disconnect(connection);
    if (!answered)
        return fail("the Wayland display '" + display + "' went away");
    return globals;
}

} // namespace quorvex
