// A pointer for a headless sway's seat, which has none (swaymsg's cursor commands end a drag at once),
// or KWin's (through its fake input, which KWin offers a program whose desktop entry lists
// org_kde_kwin_fake_input in X-KDE-Wayland-Interfaces).
// Reads lines from standard input: "move X Y W H" (a point of the W x H layout), "press", "release"
// (the left button; "press right", "release right" the right one); on KWin also "key CODE..." (Linux
// key codes, pressed in turn and released in reverse: one chord).
#include "fake-input-client-protocol.h"
#include "wlr-virtual-pointer-unstable-v1-client-protocol.h"

#include <cstdio>
#include <cstring>
#include <ctime>
#include <linux/input-event-codes.h>
#include <wayland-client.h>

namespace {

zwlr_virtual_pointer_manager_v1* manager = nullptr;
org_kde_kwin_fake_input* fakeInput = nullptr;

void global(void*, wl_registry* registry, uint32_t name, const char* interface, uint32_t)
{
    if (std::strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0)
        manager = static_cast<zwlr_virtual_pointer_manager_v1*>(
            wl_registry_bind(registry, name, &zwlr_virtual_pointer_manager_v1_interface, 1));
    else if (std::strcmp(interface, org_kde_kwin_fake_input_interface.name) == 0)
        fakeInput = static_cast<org_kde_kwin_fake_input*>(
            wl_registry_bind(registry, name, &org_kde_kwin_fake_input_interface, 4));
}
constexpr wl_registry_listener kRegistryListener = {&global, [](void*, wl_registry*, uint32_t) {}};

uint32_t nowMs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return uint32_t(now.tv_sec * 1000 + now.tv_nsec / 1000000);
}

} // namespace

int main()
{
    wl_display* display = wl_display_connect(nullptr);
    if (!display) {
        std::fprintf(stderr, "virtual_pointer: no Wayland display\n");
        return 1;
    }
    wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &kRegistryListener, nullptr);
    wl_display_roundtrip(display);
    if (!manager && !fakeInput) {
        std::fprintf(stderr, "virtual_pointer: the compositor offers no virtual pointer\n");
        return 1;
    }
    zwlr_virtual_pointer_v1* pointer
        = manager ? zwlr_virtual_pointer_manager_v1_create_virtual_pointer(manager, nullptr) : nullptr;
    if (fakeInput)
        org_kde_kwin_fake_input_authenticate(fakeInput, "quorvex7 tests", "a pointer for the tests");
    wl_display_roundtrip(display);
    std::puts("ready");
    std::fflush(stdout);
    char line[128];
    while (std::fgets(line, sizeof line, stdin)) {
        unsigned x = 0, y = 0, width = 0, height = 0;
        const bool move = std::sscanf(line, "move %u %u %u %u", &x, &y, &width, &height) == 4;
        const bool button = std::strncmp(line, "press", 5) == 0 || std::strncmp(line, "release", 7) == 0;
        if (std::strncmp(line, "key ", 4) == 0 && fakeInput) {
            unsigned codes[8];
            int count = 0, used = 0;
            for (const char* at = line + 4; count < 8 && std::sscanf(at, "%u%n", &codes[count], &used) == 1;
                 at += used)
                ++count;
            for (int i = 0; i < count; ++i)
                org_kde_kwin_fake_input_keyboard_key(fakeInput, codes[i], WL_KEYBOARD_KEY_STATE_PRESSED);
            for (int i = count - 1; i >= 0; --i)
                org_kde_kwin_fake_input_keyboard_key(fakeInput, codes[i], WL_KEYBOARD_KEY_STATE_RELEASED);
            wl_display_roundtrip(display);
            std::puts("done");
            std::fflush(stdout);
            continue;
        }
        const uint32_t state
            = line[0] == 'p' ? WL_POINTER_BUTTON_STATE_PRESSED : WL_POINTER_BUTTON_STATE_RELEASED;
        const uint32_t which = std::strstr(line, "right") ? BTN_RIGHT : BTN_LEFT;
        if (!move && !button) {
            std::fprintf(stderr, "virtual_pointer: unknown command %s", line);
            continue;
        }
        if (pointer && move)
            zwlr_virtual_pointer_v1_motion_absolute(pointer, nowMs(), x, y, width, height);
        else if (pointer)
            zwlr_virtual_pointer_v1_button(pointer, nowMs(), which, state);
        else if (move)
            org_kde_kwin_fake_input_pointer_motion_absolute(
                fakeInput, wl_fixed_from_int(int(x)), wl_fixed_from_int(int(y)));
        else
            org_kde_kwin_fake_input_button(fakeInput, which, state);
        if (pointer)
            zwlr_virtual_pointer_v1_frame(pointer);
        wl_display_roundtrip(display);
        std::puts("done"); // the compositor has it
        std::fflush(stdout);
    }
    wl_display_disconnect(display);
    return 0;
}
