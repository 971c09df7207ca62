#include "platform/dbus/bus_helpers.h"

namespace quorvex::bus {

Result<Connection> connectSessionBus()
{
    Error error;
    DBusConnection* connection = dbus_bus_get_private(DBUS_BUS_SESSION, &error.error);
    if (!connection)
        return fail("no session bus: " + error.text());
    dbus_connection_set_exit_on_disconnect(connection, false);
    return Connection(connection, [](DBusConnection* c) {
        dbus_connection_close(c);
        dbus_connection_unref(c);
    });
}

int millisecondsUntil(Clock::time_point deadline)
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? int(left) : 0;
}

Reply call(DBusConnection* connection, DBusMessage* message, Clock::time_point deadline)
{
    Error error;
    Reply reply;
    reply.message.reset(dbus_connection_send_with_reply_and_block(
        connection, message, std::max(1, millisecondsUntil(deadline)), &error.error));
    if (!reply.message)
        reply.failure = {error.name(), error.text()};
    return reply;
}

std::string nameOwner(DBusConnection* connection, const char* name)
{
    MessagePtr message(
        dbus_message_new_method_call(DBUS_SERVICE_DBUS, DBUS_PATH_DBUS, DBUS_INTERFACE_DBUS, "GetNameOwner"));
    dbus_message_append_args(message.get(), DBUS_TYPE_STRING, &name, DBUS_TYPE_INVALID);
    const Reply reply = call(connection, message.get(), Clock::now() + std::chrono::seconds(2));
    DBusMessageIter arguments;
    if (!reply || !dbus_message_iter_init(reply.message.get(), &arguments))
        return {};
    return stringAt(&arguments).value_or("");
}

void appendOption(DBusMessageIter* dictionary, const char* key, int type, const void* value)
{
    const char signature[2] = {char(type), 0};
    DBusMessageIter entry, variant;
    dbus_message_iter_open_container(dictionary, DBUS_TYPE_DICT_ENTRY, nullptr, &entry);
    dbus_message_iter_append_basic(&entry, DBUS_TYPE_STRING, &key);
    dbus_message_iter_open_container(&entry, DBUS_TYPE_VARIANT, signature, &variant);
    dbus_message_iter_append_basic(&variant, type, value);
    dbus_message_iter_close_container(&entry, &variant);
    dbus_message_iter_close_container(dictionary, &entry);
}

std::optional<std::string> stringAt(DBusMessageIter* iter)
{
    const int type = dbus_message_iter_get_arg_type(iter);
    if (type != DBUS_TYPE_STRING && type != DBUS_TYPE_OBJECT_PATH)
        return std::nullopt;
    const char* text = nullptr;
    dbus_message_iter_get_basic(iter, &text);
    return std::string(text ? text : "");
}

std::optional<std::uint32_t> uint32At(DBusMessageIter* iter)
{
    if (dbus_message_iter_get_arg_type(iter) != DBUS_TYPE_UINT32)
        return std::nullopt;
    dbus_uint32_t value = 0;
    dbus_message_iter_get_basic(iter, &value);
    return value;
}

std::optional<bool> booleanAt(DBusMessageIter* iter)
{
    if (dbus_message_iter_get_arg_type(iter) != DBUS_TYPE_BOOLEAN)
        return std::nullopt;
    dbus_bool_t value = false;
    dbus_message_iter_get_basic(iter, &value);
    return value != 0;
}

bool enterVariant(DBusMessageIter* iter, DBusMessageIter* inside)
{
    if (dbus_message_iter_get_arg_type(iter) != DBUS_TYPE_VARIANT)
        return false;
    dbus_message_iter_recurse(iter, inside);
    return true;
}

bool forEachOption(
    DBusMessageIter* iter, const std::function<void(std::string_view, DBusMessageIter*)>& visit)
{
    if (dbus_message_iter_get_arg_type(iter) != DBUS_TYPE_ARRAY
        || dbus_message_iter_get_element_type(iter) != DBUS_TYPE_DICT_ENTRY)
        return false;
    DBusMessageIter entries, entry, value;
    for (dbus_message_iter_recurse(iter, &entries);
         dbus_message_iter_get_arg_type(&entries) == DBUS_TYPE_DICT_ENTRY; dbus_message_iter_next(&entries)) {
        dbus_message_iter_recurse(&entries, &entry);
        const std::optional<std::string> key
            = dbus_message_iter_get_arg_type(&entry) == DBUS_TYPE_STRING ? stringAt(&entry) : std::nullopt;
        if (key && dbus_message_iter_next(&entry) && enterVariant(&entry, &value))
            visit(*key, &value);
    }
    return true;
}

} // namespace quorvex::bus
