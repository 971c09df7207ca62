#include "common/this_process.h"

#include <climits>
#include <cstdlib>
#include <unistd.h>

namespace quorvex {

std::string environmentValue(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

const std::string& programFolder()
{
    static const std::string folder = [] {
        char self[PATH_MAX];
        const ssize_t length = ::readlink("/proc/self/exe", self, sizeof self - 1);
        std::string path = length > 0 ? std::string(self, size_t(length)) : std::string();
        return path.erase(path.find_last_of('/') + 1);
    }();
    return folder;
}

} // namespace quorvex
