#pragma once

#include "platform/desktop_bus.h"

namespace quorvex {

// The session bus's desktop services from the module quorvex7-dbus.so (beside this program, or where
// it is installed); or why there are none.
Result<std::unique_ptr<DesktopBus>> loadDesktopBus();

} // namespace quorvex
