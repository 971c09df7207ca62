#include "platform/desktop_bus_loader.h"

#include "common/this_process.h"
#include "platform/desktop_bus_module.h"

#include <dlfcn.h>

namespace quorvex {

Result<std::unique_ptr<DesktopBus>> loadDesktopBus()
{
    const std::string& folder = programFolder();
    // The build tree has it beside the program; an installed tree under lib/quorvex7.
    std::string tried;
    void* module = nullptr;
    for (const std::string& path : {folder + "quorvex7-dbus.so", folder + QUORVEX_DBUS_MODULE_FROM_BIN}) {
        module = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (module)
            break;
        tried = ::dlerror();
    }
    if (!module)
        return fail("cannot load the module for the desktop's D-Bus services: " + tried);
    // Never closed: the readers' code lives in it.
    auto* connect = reinterpret_cast<DesktopBusConnector*>(::dlsym(module, kDesktopBusConnectorName));
    if (!connect)
        return fail(std::string("the module for the desktop's D-Bus services is damaged: ") + ::dlerror());
    Result<std::unique_ptr<DesktopBus>> bus = fail("");
    connect(&bus);
    return bus;
}

} // namespace quorvex
