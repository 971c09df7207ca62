#include "platform/portal_module_loader.h"

#include "platform/portal_module_entry.h"

#include <climits>
#include <dlfcn.h>
#include <unistd.h>

namespace quorvex {

namespace {

std::string programFolder()
{
    char self[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", self, sizeof self - 1);
    std::string folder = length > 0 ? std::string(self, size_t(length)) : std::string();
    return folder.erase(folder.find_last_of('/') + 1);
}

} // namespace

OpenedScreenReader openPortalReaderModule()
{
    const std::string folder = programFolder();
    // The build tree has it beside the program; an installed tree under lib/quorvex7.
    std::string tried;
    void* module = nullptr;
    for (const std::string& path : {folder + "quorvex7-portal.so", folder + QUORVEX_PORTAL_MODULE_FROM_BIN}) {
        module = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (module)
            break;
        tried = ::dlerror();
    }
    if (!module)
        return {nullptr, "cannot load the desktop portal's module: " + tried};
    // Never closed: the reader's code lives in it.
    auto* open = reinterpret_cast<PortalReaderOpener*>(::dlsym(module, kPortalReaderOpenerName));
    if (!open)
        return {nullptr, std::string("the desktop portal's module is damaged: ") + ::dlerror()};
    OpenedScreenReader opened;
    open(&opened.reader, &opened.failure);
    return opened;
}

} // namespace quorvex
