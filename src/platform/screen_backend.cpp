#include "platform/screen_backend.h"

#include "platform/portal/portal_protocol.h"
#include "platform/portal_module_loader.h"
#include "platform/wayland/screencopy_reader.h"
#include "platform/x11/xcb_screen_reader.h"

#include <cstdlib>

namespace quorvex {

namespace {

std::string environmentValue(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

OpenedScreenReader openX11(const SessionEnvironment& session)
{
    if (session.display.empty())
        return {nullptr, "no display: set DISPLAY (for example, run under Xvfb)"};
    // One grab: shared memory would cost more to set up than it saves.
    std::unique_ptr<XcbScreenReader> reader = XcbScreenReader::connect(session.display, false);
    if (!reader)
        return {nullptr, "cannot open the X display '" + session.display + "'"};
    if (std::string reason = reader->unreadableReason(); !reason.empty())
        return {nullptr, std::move(reason)};
    return {std::move(reader), {}};
}

} // namespace

SessionEnvironment SessionEnvironment::fromProcess()
{
    return {environmentValue("DISPLAY"), environmentValue("WAYLAND_DISPLAY"),
        environmentValue("XDG_SESSION_TYPE"), environmentValue("QUORVEX7_SCREEN")};
}

ScreenSourceChoice chooseScreenSource(const SessionEnvironment& session)
{
    if (session.forcedSource == "x11")
        return {ScreenSourceKind::X11, {}, true};
    if (session.forcedSource == "screencopy")
        return {ScreenSourceKind::Screencopy, {}, true};
    if (session.forcedSource == "portal")
        return {ScreenSourceKind::Portal, {}, true};
    if (!session.forcedSource.empty())
        return {std::nullopt,
            "the screen source '" + session.forcedSource + "' is not one of x11, screencopy, portal"};
    if (!session.waylandDisplay.empty())
        return {ScreenSourceKind::Screencopy, {}};
    if (session.sessionType == "wayland")
        return {std::nullopt, "this is a Wayland session without WAYLAND_DISPLAY: the screen cannot be read"};
    if (session.display.empty())
        return {std::nullopt, "no display: set DISPLAY (for example, run under Xvfb)"};
    return {ScreenSourceKind::X11, {}};
}

OpenedScreenReader openScreenReader(const SessionEnvironment& session)
{
    const ScreenSourceChoice choice = chooseScreenSource(session);
    if (!choice.kind)
        return {nullptr, choice.failure};
    if (*choice.kind == ScreenSourceKind::X11)
        return openX11(session);
    if (*choice.kind == ScreenSourceKind::Portal)
        return openPortalReaderModule();
    ScreencopyReader::Opened opened = ScreencopyReader::connect(session.waylandDisplay);
    if (opened.reader || choice.forced)
        return {std::move(opened.reader), std::move(opened.failure)};
    OpenedScreenReader portal = openPortalReaderModule();
    if (!portal.reader && portal.failure == portalMissingMessage())
        portal.failure = neitherScreenSourceMessage();
    return portal;
}

} // namespace quorvex
