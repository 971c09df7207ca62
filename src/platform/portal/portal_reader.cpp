#include "platform/portal/portal_reader.h"

#include "platform/portal/portal_protocol.h"

#include <chrono>
#include <dbus/dbus.h>
#include <optional>
#include <unistd.h>

namespace quorvex {

namespace {

using Clock = std::chrono::steady_clock;

struct ConnectionCloser {
    void operator()(DBusConnection* connection) const
    {
        dbus_connection_close(connection);
        dbus_connection_unref(connection);
    }
};
using ConnectionPtr = std::unique_ptr<DBusConnection, ConnectionCloser>;

struct MessageUnref {
    void operator()(DBusMessage* message) const { dbus_message_unref(message); }
};
using MessagePtr = std::unique_ptr<DBusMessage, MessageUnref>;

// A DBusError freed when it goes.
struct BusError {
    DBusError error;
    BusError() { dbus_error_init(&error); }
    ~BusError() { dbus_error_free(&error); }
    bool isSet() const { return dbus_error_is_set(&error); }
    std::string text() const { return error.message ? error.message : "unknown D-Bus error"; }
};

int millisecondsUntil(Clock::time_point deadline)
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? int(left) : 0;
}

bool portalOnBus(DBusConnection* connection)
{
    BusError error;
    if (dbus_bus_name_has_owner(connection, kPortalBusName, &error.error))
        return true;
    // A portal that the bus starts on the first call is there too.
    MessagePtr call(dbus_message_new_method_call(
        "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "ListActivatableNames"));
    MessagePtr reply(dbus_connection_send_with_reply_and_block(connection, call.get(), 2000, &error.error));
    DBusMessageIter names, name;
    if (!reply || !dbus_message_iter_init(reply.get(), &names)
        || dbus_message_iter_get_arg_type(&names) != DBUS_TYPE_ARRAY)
        return false;
    for (dbus_message_iter_recurse(&names, &name); dbus_message_iter_get_arg_type(&name) == DBUS_TYPE_STRING;
         dbus_message_iter_next(&name)) {
        const char* text = nullptr;
        dbus_message_iter_get_basic(&name, &text);
        if (std::string_view(text) == kPortalBusName)
            return true;
    }
    return false;
}

void appendOption(DBusMessageIter* options, const char* key, int type, const void* value)
{
    const char signature[2] = {char(type), 0};
    DBusMessageIter entry, variant;
    dbus_message_iter_open_container(options, DBUS_TYPE_DICT_ENTRY, nullptr, &entry);
    dbus_message_iter_append_basic(&entry, DBUS_TYPE_STRING, &key);
    dbus_message_iter_open_container(&entry, DBUS_TYPE_VARIANT, signature, &variant);
    dbus_message_iter_append_basic(&variant, type, value);
    dbus_message_iter_close_container(&entry, &variant);
    dbus_message_iter_close_container(options, &entry);
}

MessagePtr screenshotCall(const std::string& token)
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
    appendOption(&options, "handle_token", DBUS_TYPE_STRING, &tokenText);
    appendOption(&options, "interactive", DBUS_TYPE_BOOLEAN, &interactive);
    dbus_message_iter_close_container(&arguments, &options);
    return call;
}

// A Response signal's code and its "uri" result.
struct Response {
    dbus_uint32_t code = 2;
    std::string uri;
};

Response parseResponse(DBusMessage* signal)
{
    Response response;
    DBusMessageIter arguments, results, entry, value;
    if (!dbus_message_iter_init(signal, &arguments)
        || dbus_message_iter_get_arg_type(&arguments) != DBUS_TYPE_UINT32)
        return response;
    dbus_message_iter_get_basic(&arguments, &response.code);
    if (!dbus_message_iter_next(&arguments) || dbus_message_iter_get_arg_type(&arguments) != DBUS_TYPE_ARRAY)
        return response;
    for (dbus_message_iter_recurse(&arguments, &results);
         dbus_message_iter_get_arg_type(&results) == DBUS_TYPE_DICT_ENTRY; dbus_message_iter_next(&results)) {
        dbus_message_iter_recurse(&results, &entry);
        const char* key = nullptr;
        dbus_message_iter_get_basic(&entry, &key);
        dbus_message_iter_next(&entry);
        dbus_message_iter_recurse(&entry, &value);
        if (std::string_view(key) == "uri" && dbus_message_iter_get_arg_type(&value) == DBUS_TYPE_STRING) {
            const char* uri = nullptr;
            dbus_message_iter_get_basic(&value, &uri);
            response.uri = uri;
        }
    }
    return response;
}

std::string responseMatchRule(const std::string& path)
{
    return "type='signal',interface='" + std::string(kPortalRequestInterface) + "',member='Response',path='"
        + path + "'";
}

} // namespace

struct PortalReader::Private {
    ConnectionPtr connection;
    PortalFilePlaces places;
    unsigned requests = 0;
    std::optional<ScreenPixels> kept;
    PixelSize lastSize;
    std::string failure;

    // The Response to the request at `path`, or nothing once `deadline` has passed.
    std::optional<Response> awaitResponse(const std::string& path, Clock::time_point deadline)
    {
        for (;;) {
            while (MessagePtr message{dbus_connection_pop_message(connection.get())}) {
                if (dbus_message_is_signal(message.get(), kPortalRequestInterface, "Response")
                    && dbus_message_has_path(message.get(), path.c_str()))
                    return parseResponse(message.get());
            }
            const int left = millisecondsUntil(deadline);
            if (left == 0 || !dbus_connection_read_write(connection.get(), left))
                return std::nullopt;
        }
    }

    std::string screenshot()
    {
        const Clock::time_point deadline = Clock::now() + kPortalAnswerTimeout;
        const std::string token = portalRequestToken(unsigned(::getpid()), ++requests);
        const std::string path = portalRequestPath(dbus_bus_get_unique_name(connection.get()), token);
        // Subscribed before the call: a fast portal answers before the call's own reply arrives.
        BusError error;
        dbus_bus_add_match(connection.get(), responseMatchRule(path).c_str(), &error.error);
        if (error.isSet())
            return "cannot listen to the desktop portal: " + error.text();
        MessagePtr call = screenshotCall(token);
        MessagePtr reply(dbus_connection_send_with_reply_and_block(
            connection.get(), call.get(), std::max(1, millisecondsUntil(deadline)), &error.error));
        std::optional<Response> response;
        if (reply) {
            // A portal older than the handle_token option answers on a path of its own making.
            const char* handle = nullptr;
            DBusMessageIter arguments;
            std::string answerPath = path;
            if (dbus_message_iter_init(reply.get(), &arguments)
                && dbus_message_iter_get_arg_type(&arguments) == DBUS_TYPE_OBJECT_PATH) {
                dbus_message_iter_get_basic(&arguments, &handle);
                answerPath = handle;
            }
            if (answerPath != path)
                dbus_bus_add_match(connection.get(), responseMatchRule(answerPath).c_str(), nullptr);
            response = awaitResponse(answerPath, deadline);
            if (answerPath != path)
                dbus_bus_remove_match(connection.get(), responseMatchRule(answerPath).c_str(), nullptr);
        }
        dbus_bus_remove_match(connection.get(), responseMatchRule(path).c_str(), nullptr);
        if (!reply && !dbus_error_has_name(&error.error, DBUS_ERROR_NO_REPLY))
            return "the desktop portal cannot take screenshots: " + error.text();
        if (!response)
            return portalTimeoutMessage();
        if (std::string refused = portalResponseFailure(response->code); !refused.empty())
            return refused;
        PortalPicture picture = takePortalPicture(response->uri, places);
        if (!picture.failure.empty())
            return picture.failure;
        kept = picture.pixels;
        lastSize = {picture.pixels.width, picture.pixels.height};
        return {};
    }
};

PortalReader::PortalReader()
    : d(std::make_unique<Private>())
{
}

PortalReader::~PortalReader() = default;

PortalReader::Opened PortalReader::connect(PortalFilePlaces places)
{
    BusError error;
    ConnectionPtr connection(dbus_bus_get_private(DBUS_BUS_SESSION, &error.error));
    if (!connection)
        return {nullptr, portalMissingMessage()};
    dbus_connection_set_exit_on_disconnect(connection.get(), false);
    if (!portalOnBus(connection.get()))
        return {nullptr, portalMissingMessage()};
    std::unique_ptr<PortalReader> reader(new PortalReader);
    reader->d->connection = std::move(connection);
    reader->d->places = std::move(places);
    return {std::move(reader), {}};
}

std::string PortalReader::takeScreenshot()
{
    d->kept.reset();
    d->failure = d->screenshot();
    return d->failure;
}

bool PortalReader::hasScreenshot() const
{
    return d->kept.has_value();
}

PixelSize PortalReader::desktopSize() const
{
    return d->lastSize;
}

ScreenPixels PortalReader::readDesktop(const PixelRect& rect)
{
    if (!d->kept && !takeScreenshot().empty())
        return {};
    const ScreenPixels whole = *d->kept;
    d->kept.reset();
    return croppedPixels(whole, rect);
}

const std::string& PortalReader::lastFailure() const
{
    return d->failure;
}

} // namespace quorvex
