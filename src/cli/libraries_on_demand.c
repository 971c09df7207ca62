/* Loads the libraries of libraries_on_demand.S and fills the slots its functions jump through. Where a
 * library or one of its functions is missing, each of its functions returns zero: wl_display_connect
 * then finds no display, jpeg_std_error no error manager, and the caller says so. */
#include <dlfcn.h>
#include <pthread.h>
#include <stddef.h>
#include <stdint.h>
#include <string.h>

/* The libraries, in the order of their functions' slots. Wayland's cursor library needs the client
 * library, and finds the same one. */
static const char* const kLibraries[] = {"libwayland-client.so.0", "libwayland-cursor.so.0", "libjpeg.so.62"};
enum { kLibraryCount = 3, kFunctions = 30 };
__attribute__((visibility("hidden"))) void* quorvex_on_demand_slots[kFunctions];
extern const char quorvex_on_demand_names[];

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

/* Loads the library of the function in `slot` and fills its functions' slots, once. */
__attribute__((visibility("hidden"))) void quorvex_load_library_of(size_t slot)
{
    static pthread_mutex_t loading = PTHREAD_MUTEX_INITIALIZER;
    pthread_mutex_lock(&loading);
    const char* name = quorvex_on_demand_names;
    size_t first = 0;
    for (int library = 0; library < kLibraryCount; ++library, ++name) {
        size_t end = first;
        const char* names = name;
        for (; *name; name += strlen(name) + 1)
            ++end;
        if (slot >= first && slot < end && !quorvex_on_demand_slots[slot]) {
            void* handle = dlopen(kLibraries[library], RTLD_NOW | RTLD_LOCAL);
            int complete = handle != NULL;
            for (size_t i = first; i < end; names += strlen(names) + 1, ++i) {
                quorvex_on_demand_slots[i] = handle ? dlsym(handle, names) : NULL;
                complete = complete && quorvex_on_demand_slots[i] != NULL;
            }
            for (size_t i = first; i < end && !complete; ++i)
                quorvex_on_demand_slots[i] = addressOfUnavailable();
        }
        first = end;
    }
    pthread_mutex_unlock(&loading);
}
