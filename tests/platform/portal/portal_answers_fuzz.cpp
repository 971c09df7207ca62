// Fuzzes what the portal and its permission store answer: each input is a D-Bus signature, a NUL and a
// message body in that signature (little-endian), made into a whole signal only libdbus's own checks
// let through, then read as a Response and as a permission Lookup reply. Nothing may crash or read
// outside the message, whatever the shape.
#include "platform/dbus/bus_helpers.h"
#include "platform/portal/portal_answers.h"

#include <cstdint>
#include <cstring>
#include <string>

namespace {

struct Writer {
    std::string bytes;

    void align(size_t to)
    {
        while (bytes.size() % to)
            bytes.push_back(0);
    }
    void u32(std::uint32_t value)
    {
        align(4);
        bytes.append(reinterpret_cast<const char*>(&value), 4); // the message says 'l'
    }
    // A header field: its code, a variant of `type` holding `text` (a string, path or signature).
    void field(unsigned char code, char type, const std::string& text)
    {
        align(8);
        bytes.push_back(char(code));
        bytes.push_back(1);
        bytes.push_back(type);
        bytes.push_back(0);
        if (type == 'g') {
            bytes.push_back(char(text.size()));
        } else {
            u32(std::uint32_t(text.size()));
        }
        bytes += text;
        bytes.push_back(0);
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    const auto* text = reinterpret_cast<const char*>(data);
    const void* end = std::memchr(text, 0, size);
    if (!end || static_cast<const char*>(end) - text > 255)
        return 0;
    const std::string signature(text, static_cast<const char*>(end));
    const std::string body(static_cast<const char*>(end) + 1, text + size);

    Writer fields;
    fields.field(1, 'o', "/org/freedesktop/portal/desktop/request/1_2/t");
    fields.field(2, 's', "org.freedesktop.portal.Request");
    fields.field(3, 's', "Response");
    if (!signature.empty())
        fields.field(8, 'g', signature);
    Writer message;
    message.bytes = {'l', 4, 0, 1};
    message.u32(std::uint32_t(body.size()));
    message.u32(1);
    message.u32(std::uint32_t(fields.bytes.size()));
    message.align(8);
    message.bytes += fields.bytes;
    message.align(8);
    message.bytes += body;

    DBusError error;
    dbus_error_init(&error);
    quorvex::bus::MessagePtr signal(
        dbus_message_demarshal(message.bytes.data(), int(message.bytes.size()), &error));
    dbus_error_free(&error);
    if (!signal)
        return 0;
    const std::optional<quorvex::PortalResponse> response = quorvex::parsePortalResponse(signal.get());
    if (response && response->uri.size() > body.size())
        __builtin_trap(); // a URI can only come from the body
    (void)quorvex::parseStoredPermission(signal.get());
    return 0;
}
