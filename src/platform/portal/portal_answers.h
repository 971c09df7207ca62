#pragma once

#include <cstdint>
#include <dbus/dbus.h>
#include <optional>
#include <string>

// What the desktop portal and its permission store answer, read with every type checked: a malformed
// answer is refused, never trusted.
namespace quorvex {

// A Response signal (ua{sv}): its code and its "uri" result (empty where there is none); nothing
// where the signal has another shape.
struct PortalResponse {
    std::uint32_t code = 0;
    std::string uri;
};
std::optional<PortalResponse> parsePortalResponse(DBusMessage* signal);

// What the permission store holds for unsandboxed programs (app id '') in a Lookup reply (a{sas}v).
enum class StoredPermission { None, Yes, No };
StoredPermission parseStoredPermission(DBusMessage* reply);

} // namespace quorvex
