#pragma once

#include "platform/desktop_bus.h"

// What the module quorvex7-dbus.so exports: the session bus's desktop services, or why there are none.
extern "C" {
using DesktopBusConnector = void(quorvex::Result<std::unique_ptr<quorvex::DesktopBus>>* bus);
inline constexpr const char* kDesktopBusConnectorName = "quorvex7ConnectDesktopBus";
void quorvex7ConnectDesktopBus(quorvex::Result<std::unique_ptr<quorvex::DesktopBus>>* bus);
}
