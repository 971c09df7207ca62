#include "platform/portal/portal_reader.h"

#include "platform/portal/portal_answers.h"
#include "platform/portal/portal_picture_file.h"
#include "platform/portal/portal_protocol.h"

#include <optional>
#include <unistd.h>

namespace quorvex {

namespace {

using bus::Clock;
using bus::MessagePtr;

bus::MessagePtr screenshotCall(const std::string& token)
{
    MessagePtr call(dbus_message_new_method_call(
        kPortalBusName, kPortalObjectPath, kPortalScreenshotInterface, "Screenshot"));
    DBusMessageIter arguments, options;
    const char* parentWindow = "";
    const char* tokenText = token.c_str();
    const dbus_bool_t interactive = false;
    dbus_message_iter_init_append(call.get(), &arguments);
    dbus_message_iter_append_basic(&arguments, DBUS_TYPE_STRING, &parentWindow);
    dbus_message_iter_open_container(&arguments, DBUS_TYPE_ARRAY, "{sv}", &options);
    bus::appendOption(&options, "handle_token", DBUS_TYPE_STRING, &tokenText);
    bus::appendOption(&options, "interactive", DBUS_TYPE_BOOLEAN, &interactive);
    dbus_message_iter_close_container(&arguments, &options);
    return call;
}

// Every Response the portal (its unique name `owner`) sends, whatever the request's path: an
// old-style portal answers on a path of its own making, which is known only from the call's reply.
std::string responseMatchRule(const std::string& owner)
{
    return "type='signal',sender='" + owner + "',interface='" + kPortalRequestInterface
        + "',member='Response'";
}

// The portal started where the bus starts it on demand; its unique name, empty where it is not there.
std::string portalOwner(DBusConnection* connection)
{
    std::string owner = bus::nameOwner(connection, kPortalBusName);
    if (owner.empty() && dbus_bus_start_service_by_name(connection, kPortalBusName, 0, nullptr, nullptr))
        owner = bus::nameOwner(connection, kPortalBusName);
    return owner;
}

} // namespace

bool portalOnBus(DBusConnection* connection)
{
    bus::Error error;
    if (dbus_bus_name_has_owner(connection, kPortalBusName, &error.error))
        return true;
    MessagePtr call(dbus_message_new_method_call(
        DBUS_SERVICE_DBUS, DBUS_PATH_DBUS, DBUS_INTERFACE_DBUS, "ListActivatableNames"));
    const bus::Reply reply = bus::call(connection, call.get(), Clock::now() + std::chrono::seconds(2));
    DBusMessageIter names, name;
    if (!reply || !dbus_message_iter_init(reply.message.get(), &names)
        || dbus_message_iter_get_arg_type(&names) != DBUS_TYPE_ARRAY)
        return false;
    for (dbus_message_iter_recurse(&names, &name); dbus_message_iter_get_arg_type(&name) == DBUS_TYPE_STRING;
         dbus_message_iter_next(&name))
        if (bus::stringAt(&name) == kPortalBusName)
            return true;
    return false;
}

struct PortalReader::Private {
    bus::Connection connection;
    Settings settings;
    unsigned requests = 0;
    bool saidQuestion = false;

    StoredPermission storedPermission()
    {
        MessagePtr lookup(dbus_message_new_method_call(
            kPermissionStoreBusName, kPermissionStorePath, kPermissionStoreBusName, "Lookup"));
        const char* table = "screenshot";
        dbus_message_append_args(
            lookup.get(), DBUS_TYPE_STRING, &table, DBUS_TYPE_STRING, &table, DBUS_TYPE_INVALID);
        const bus::Reply reply
            = bus::call(connection.get(), lookup.get(), Clock::now() + std::chrono::seconds(2));
        return reply ? parseStoredPermission(reply.message.get()) : StoredPermission::None;
    }

    // The Response from `owner` to the request at `path` or `handle`, or nothing once `deadline` has
    // passed. Signals from anyone else (a unicast signal needs no match rule) are dropped.
    std::optional<PortalResponse> awaitResponse(const std::string& owner, const std::string& path,
        const std::string& handle, Clock::time_point deadline, bool& malformed)
    {
        for (;;) {
            while (MessagePtr message{dbus_connection_pop_message(connection.get())}) {
                const char* sender = dbus_message_get_sender(message.get());
                const char* from = dbus_message_get_path(message.get());
                if (!dbus_message_is_signal(message.get(), kPortalRequestInterface, "Response") || !sender
                    || owner != sender || !from || (path != from && handle != from))
                    continue;
                std::optional<PortalResponse> response = parsePortalResponse(message.get());
                malformed = !response;
                return response;
            }
            const int left = bus::millisecondsUntil(deadline);
            if (left == 0 || !dbus_connection_read_write(connection.get(), left))
                return std::nullopt;
        }
    }

    Result<ScreenPixels> screenshot()
    {
        std::chrono::seconds limit = kPortalAnswerTimeout;
        if (settings.asksFirst) {
            const StoredPermission permission = storedPermission();
            if (permission == StoredPermission::No)
                return fail(portalResponseFailure(2).error());
            if (permission == StoredPermission::None) {
                limit = kPortalQuestionTimeout;
                if (!saidQuestion && settings.say)
                    settings.say(portalQuestionMessage());
                saidQuestion = true;
            }
        }
        const Clock::time_point deadline = Clock::now() + limit;
        const std::string owner = portalOwner(connection.get());
        if (owner.empty())
            return fail(portalMissingMessage());
        const std::string token = portalRequestToken(unsigned(::getpid()), ++requests);
        const std::string path = portalRequestPath(dbus_bus_get_unique_name(connection.get()), token);
        // Listening before the call: a fast portal answers before the call's own reply arrives.
        const std::string rule = responseMatchRule(owner);
        bus::Error error;
        dbus_bus_add_match(connection.get(), rule.c_str(), &error.error);
        if (error.isSet())
            return fail("cannot listen to the desktop portal: " + error.text());
        const timespec requestStart = requestMoment();
        const MessagePtr call = screenshotCall(token);
        const bus::Reply reply = bus::call(connection.get(), call.get(), deadline);
        std::optional<PortalResponse> response;
        bool malformed = false;
        if (reply) {
            DBusMessageIter arguments;
            std::string handle = path;
            if (dbus_message_iter_init(reply.message.get(), &arguments)
                && dbus_message_iter_get_arg_type(&arguments) == DBUS_TYPE_OBJECT_PATH)
                handle = bus::stringAt(&arguments).value_or(path);
            response = awaitResponse(owner, path, handle, deadline, malformed);
        }
        dbus_bus_remove_match(connection.get(), rule.c_str(), nullptr);
        if (!reply && reply.failure.name != DBUS_ERROR_NO_REPLY)
            return fail("the desktop portal cannot take screenshots: " + reply.failure.text);
        if (malformed)
            return fail("the desktop portal answered the screenshot in a malformed way");
        if (!response)
            return fail(portalTimeoutMessage(limit));
        if (const Status answered = portalResponseFailure(response->code); !answered)
            return fail(answered.error());
        return takePortalPicture(response->uri, requestStart, deadline, settings.say);
    }
};

PortalReader::PortalReader(bus::Connection connection, Settings settings)
    : d(std::make_unique<Private>())
{
    d->connection = std::move(connection);
    d->settings = std::move(settings);
}

PortalReader::~PortalReader() = default;

Result<ScreenPixels> PortalReader::screenshot()
{
    return d->screenshot();
}

} // namespace quorvex
