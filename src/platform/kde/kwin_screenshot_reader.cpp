#include "platform/kde/kwin_screenshot_reader.h"

#include "platform/kde/kwin_picture.h"
#include "platform/portal/portal_protocol.h"
#include "platform/unique_fd.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <poll.h>

namespace quorvex {

namespace {

using bus::Clock;
using bus::MessagePtr;

// KWin that has not sent its picture by then is taken to never send it.
constexpr std::chrono::seconds kKWinAnswerTimeout{10};

MessagePtr captureCall(int pipeEnd, KWinCapture capture)
{
    MessagePtr call(dbus_message_new_method_call(kKWinBusName, kKWinScreenshotPath, kKWinScreenshotInterface,
        capture.activeWindow ? "CaptureActiveWindow" : "CaptureWorkspace"));
    DBusMessageIter arguments, options;
    const dbus_bool_t yes = true, pointer = capture.pointer;
    dbus_message_iter_init_append(call.get(), &arguments);
    dbus_message_iter_open_container(&arguments, DBUS_TYPE_ARRAY, "{sv}", &options);
    bus::appendOption(&options, "native-resolution", DBUS_TYPE_BOOLEAN, &yes);
    bus::appendOption(&options, "include-cursor", DBUS_TYPE_BOOLEAN, &pointer);
    if (capture.activeWindow)
        bus::appendOption(&options, "include-decoration", DBUS_TYPE_BOOLEAN, &yes);
    dbus_message_iter_close_container(&arguments, &options);
    dbus_message_iter_append_basic(&arguments, DBUS_TYPE_UNIX_FD, &pipeEnd); // the message holds a copy
    return call;
}

Result<KWinPictureLayout> layoutFromReply(DBusMessage* reply)
{
    KWinPictureLayout layout;
    DBusMessageIter arguments;
    const bool read = dbus_message_iter_init(reply, &arguments)
        && bus::forEachOption(&arguments, [&](std::string_view key, DBusMessageIter* value) {
               if (key == "type")
                   layout.type = bus::stringAt(value).value_or("");
               else if (key == "width")
                   layout.width = bus::uint32At(value).value_or(0);
               else if (key == "height")
                   layout.height = bus::uint32At(value).value_or(0);
               else if (key == "stride")
                   layout.stride = bus::uint32At(value).value_or(0);
               else if (key == "format")
                   layout.format = bus::uint32At(value).value_or(0);
           });
    if (!read)
        return fail("KWin answered the screenshot in a malformed way");
    if (std::string failure = kwinLayoutFailure(layout); !failure.empty())
        return fail(std::move(failure));
    return layout;
}

// Exactly `size` bytes from the pipe by `deadline`.
Result<std::shared_ptr<unsigned char[]>> readPipe(int fd, std::size_t size, Clock::time_point deadline)
{
    std::shared_ptr<unsigned char[]> bytes(new (std::nothrow) unsigned char[size]);
    if (!bytes)
        return fail("there is not enough memory for KWin's screenshot");
    std::size_t done = 0;
    while (done < size) {
        pollfd ready{fd, POLLIN, 0};
        const int left = bus::millisecondsUntil(deadline);
        const int polled = ::poll(&ready, 1, left);
        if (polled < 0 && errno == EINTR)
            continue;
        if (polled == 0)
            return fail("KWin did not send its screenshot within "
                + std::to_string(kKWinAnswerTimeout.count()) + " s");
        const ssize_t got = ::read(fd, bytes.get() + done, size - done);
        if (got < 0 && (errno == EINTR || errno == EAGAIN))
            continue;
        if (got <= 0)
            return fail("KWin's screenshot ended after " + std::to_string(done) + " of "
                + std::to_string(size) + " bytes");
        done += std::size_t(got);
    }
    return bytes;
}

} // namespace

std::uint32_t kwinScreenshotVersion(DBusConnection* connection)
{
    MessagePtr get(
        dbus_message_new_method_call(kKWinBusName, kKWinScreenshotPath, DBUS_INTERFACE_PROPERTIES, "Get"));
    const char* interface = kKWinScreenshotInterface;
    const char* property = "Version";
    dbus_message_append_args(
        get.get(), DBUS_TYPE_STRING, &interface, DBUS_TYPE_STRING, &property, DBUS_TYPE_INVALID);
    const bus::Reply reply = bus::call(connection, get.get(), Clock::now() + std::chrono::seconds(2));
    DBusMessageIter arguments, value;
    if (!reply || !dbus_message_iter_init(reply.message.get(), &arguments)
        || !bus::enterVariant(&arguments, &value))
        return 0;
    return bus::uint32At(&value).value_or(0);
}

struct KWinScreenshotReader::Private {
    bus::Connection connection;
    KWinCapture capture;

    Result<ScreenPixels> screenshot()
    {
        const Clock::time_point deadline = Clock::now() + kKWinAnswerTimeout;
        int ends[2];
        if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0)
            return fail(std::string("cannot make a pipe for KWin's screenshot: ") + std::strerror(errno));
        UniqueFd readEnd(ends[0]);
        MessagePtr call;
        {
            const UniqueFd writeEnd(ends[1]); // only KWin's copy stays open: its end is the pipe's end
            call = captureCall(writeEnd.get(), capture);
        }
        // KWin answers first, then writes the pixels from a thread of its own.
        const bus::Reply reply = bus::call(connection.get(), call.get(), deadline);
        call.reset();
        if (!reply && reply.failure.name == kKWinRefusedError)
            return fail(
                "KWin lets only installed programs whose desktop entry lists org.kde.KWin.ScreenShot2 "
                "take screenshots");
        if (!reply && reply.failure.name == DBUS_ERROR_NO_REPLY)
            return fail("KWin did not answer the screenshot within "
                + std::to_string(kKWinAnswerTimeout.count()) + " s");
        if (!reply)
            return fail("KWin cannot take the screenshot: " + reply.failure.text);
        const Result<KWinPictureLayout> layout = layoutFromReply(reply.message.get());
        if (!layout)
            return fail(layout.error());
        Result<std::shared_ptr<unsigned char[]>> bytes
            = readPipe(readEnd.get(), kwinPictureBytes(*layout), deadline);
        if (!bytes)
            return fail(bytes.error());
        return kwinPixels(std::move(*bytes), *layout);
    }
};

KWinScreenshotReader::KWinScreenshotReader(bus::Connection connection, KWinCapture capture)
    : d(std::make_unique<Private>())
{
    d->connection = std::move(connection);
    d->capture = capture;
}

KWinScreenshotReader::~KWinScreenshotReader() = default;

Result<ScreenPixels> KWinScreenshotReader::screenshot()
{
    return d->screenshot();
}

} // namespace quorvex
