// What sway's IPC may answer, from the fuzzer's bytes: read as the command line reads its tree. The
// sanitizers report any overflow, read past the text or runaway recursion.
#include "platform/wayland/sway_windows.h"

#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const quorvex::Result<quorvex::JsonValue> tree
        = quorvex::parseJson(std::string_view(reinterpret_cast<const char*>(data), size));
    if (tree) {
        const quorvex::SwayWindows windows = quorvex::swayWindows(*tree);
        for (const quorvex::PixelRect& window : windows.shown)
            if (window.isEmpty())
                __builtin_trap(); // only windows with a size are kept
    }
    return 0;
}
