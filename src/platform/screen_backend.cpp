#include "platform/screen_backend.h"

#include "platform/x11/xcb_screen_reader.h"

#include <cstdlib>

namespace quorvex {

namespace {

std::string environmentValue(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

} // namespace

SessionEnvironment SessionEnvironment::fromProcess()
{
    return {environmentValue("DISPLAY"), environmentValue("WAYLAND_DISPLAY"),
        environmentValue("XDG_SESSION_TYPE")};
}

std::string unreadableScreenReason(const SessionEnvironment& session)
{
    if (session.sessionType == "wayland" || !session.waylandDisplay.empty())
        return "this is a Wayland session: the screen cannot be read through X11";
    if (session.display.empty())
        return "no display: set DISPLAY (for example, run under Xvfb)";
    return {};
}

OpenedScreenReader openScreenReader(const SessionEnvironment& session)
{
    if (std::string reason = unreadableScreenReason(session); !reason.empty())
        return {nullptr, std::move(reason)};
    // One grab: shared memory would cost more to set up than it saves.
    std::unique_ptr<XcbScreenReader> reader = XcbScreenReader::connect(session.display, false);
    if (!reader)
        return {nullptr, "cannot open the X display '" + session.display + "'"};
    if (std::string reason = reader->unreadableReason(); !reason.empty())
        return {nullptr, std::move(reason)};
    return {std::move(reader), {}};
}

} // namespace quorvex
