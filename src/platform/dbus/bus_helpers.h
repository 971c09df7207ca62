#pragma once

#include "common/result.h"

#include <chrono>
#include <cstdint>
#include <dbus/dbus.h>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

// libdbus held by RAII and read with every type checked before a value is taken: what a desktop
// service answers is never trusted to have the shape it should.
namespace quorvex::bus {

using Clock = std::chrono::steady_clock;

struct MessageUnref {
    void operator()(DBusMessage* message) const { dbus_message_unref(message); }
};
using MessagePtr = std::unique_ptr<DBusMessage, MessageUnref>;

// A private session-bus connection, closed when the last holder lets it go.
using Connection = std::shared_ptr<DBusConnection>;
Result<Connection> connectSessionBus();

// A DBusError freed when it goes.
struct Error {
    DBusError error;
    Error() { dbus_error_init(&error); }
    ~Error() { dbus_error_free(&error); }
    Error(const Error&) = delete;
    Error& operator=(const Error&) = delete;
    bool isSet() const { return dbus_error_is_set(&error); }
    std::string name() const { return error.name ? error.name : ""; }
    std::string text() const { return error.message ? error.message : "unknown D-Bus error"; }
};

int millisecondsUntil(Clock::time_point deadline);

// The reply to `call` by `deadline`; or the error's name (DBUS_ERROR_NO_REPLY when none came) and text.
struct CallFailure {
    std::string name;
    std::string text;
};
struct Reply {
    MessagePtr message;
    CallFailure failure;
    explicit operator bool() const { return message != nullptr; }
};
Reply call(DBusConnection* connection, DBusMessage* message, Clock::time_point deadline);

// The unique name (":1.42") that owns `name` now; empty when none does.
std::string nameOwner(DBusConnection* connection, const char* name);

// One entry {key: variant of `type`} appended to the a{sv} being built in `dictionary`.
void appendOption(DBusMessageIter* dictionary, const char* key, int type, const void* value);

// The value at `iter` where it has that type; nothing where it has another.
std::optional<std::string> stringAt(DBusMessageIter* iter); // a string or an object path
std::optional<std::uint32_t> uint32At(DBusMessageIter* iter);
std::optional<bool> booleanAt(DBusMessageIter* iter);
// Where `iter` is a variant, an iterator inside it.
bool enterVariant(DBusMessageIter* iter, DBusMessageIter* inside);

// Each {string: variant} entry of the a{sv} at `iter`, with an iterator on the variant's value; false
// where `iter` is no array of dictionary entries. Entries of another shape (a{iv}, a{ss}) are skipped.
bool forEachOption(
    DBusMessageIter* iter, const std::function<void(std::string_view, DBusMessageIter*)>& visit);

} // namespace quorvex::bus
