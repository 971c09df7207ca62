/* Loads Wayland's client library for wayland_client_on_demand.S and fills the slots its functions
 * jump through. Where the library or one of its functions is missing, every function returns zero:
 * wl_display_connect then finds no display, and the reader says so. */
#include <dlfcn.h>
#include <pthread.h>
#include <stddef.h>
#include <stdint.h>
#include <string.h>

enum { kFunctions = 18 };
__attribute__((visibility("hidden"))) void* quorvex_wayland_slots[kFunctions];
extern const char quorvex_wayland_names[];

static intptr_t unavailable(void)
{
    return 0;
}

static void* addressOfUnavailable(void)
{
    intptr_t (*function)(void) = unavailable;
    void* address;
    memcpy(&address, &function, sizeof address);
    return address;
}

static void load(void)
{
    void* found[kFunctions] = {0};
    void* library = dlopen("libwayland-client.so.0", RTLD_NOW | RTLD_LOCAL);
    int complete = library != NULL;
    size_t i = 0;
    for (const char* name = quorvex_wayland_names; *name && i < kFunctions; name += strlen(name) + 1, ++i) {
        found[i] = library ? dlsym(library, name) : NULL;
        complete = complete && found[i] != NULL;
    }
    complete = complete && i == kFunctions;
    for (i = 0; i < kFunctions; ++i)
        quorvex_wayland_slots[i] = complete ? found[i] : addressOfUnavailable();
}

__attribute__((visibility("hidden"))) void quorvex_load_wayland_client(void)
{
    static pthread_once_t once = PTHREAD_ONCE_INIT;
    pthread_once(&once, load);
}
