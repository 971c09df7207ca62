#include "platform/portal/portal_answers.h"

#include "platform/dbus/bus_helpers.h"

namespace quorvex {

std::optional<PortalResponse> parsePortalResponse(DBusMessage* signal)
{
    DBusMessageIter arguments;
    if (!dbus_message_has_signature(signal, "ua{sv}") || !dbus_message_iter_init(signal, &arguments))
        return std::nullopt;
    const std::optional<std::uint32_t> code = bus::uint32At(&arguments);
    if (!code || !dbus_message_iter_next(&arguments))
        return std::nullopt;
    PortalResponse response{*code, {}};
    const bool dictionary = bus::forEachOption(&arguments, [&](std::string_view key, DBusMessageIter* value) {
        if (key == "uri" && dbus_message_iter_get_arg_type(value) == DBUS_TYPE_STRING)
            response.uri = bus::stringAt(value).value_or("");
    });
    if (!dictionary)
        return std::nullopt;
    return response;
}

StoredPermission parseStoredPermission(DBusMessage* reply)
{
    DBusMessageIter arguments, entries, entry, values;
    if (!dbus_message_iter_init(reply, &arguments)
        || dbus_message_iter_get_arg_type(&arguments) != DBUS_TYPE_ARRAY
        || dbus_message_iter_get_element_type(&arguments) != DBUS_TYPE_DICT_ENTRY)
        return StoredPermission::None;
    for (dbus_message_iter_recurse(&arguments, &entries);
         dbus_message_iter_get_arg_type(&entries) == DBUS_TYPE_DICT_ENTRY; dbus_message_iter_next(&entries)) {
        dbus_message_iter_recurse(&entries, &entry);
        if (bus::stringAt(&entry) != "" || dbus_message_iter_get_arg_type(&entry) != DBUS_TYPE_STRING
            || !dbus_message_iter_next(&entry) || dbus_message_iter_get_arg_type(&entry) != DBUS_TYPE_ARRAY
            || dbus_message_iter_get_element_type(&entry) != DBUS_TYPE_STRING)
            continue;
        dbus_message_iter_recurse(&entry, &values);
        const std::optional<std::string> first = bus::stringAt(&values);
        return first == "yes" ? StoredPermission::Yes
            : first == "no"   ? StoredPermission::No
                              : StoredPermission::None;
    }
    return StoredPermission::None;
}

} // namespace quorvex
