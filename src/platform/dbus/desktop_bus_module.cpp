// The desktop services on the session bus as a module the command line loads only when it asks the
// bus, so its other grabs never load the D-Bus library.
#include "platform/desktop_bus_module.h"

extern "C" __attribute__((visibility("default"))) void quorvex7ConnectDesktopBus(
    quorvex::Result<std::unique_ptr<quorvex::DesktopBus>>* bus)
{
    *bus = std::unique_ptr<quorvex::DesktopBus>(quorvex::connectDesktopBus());
}
