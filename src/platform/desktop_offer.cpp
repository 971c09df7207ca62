#include "platform/desktop_offer.h"

#include "common/this_process.h"
#include "platform/portal/portal_protocol.h"

#include <array>
#include <cctype>

namespace quorvex {

namespace {

constexpr std::array kSourceNames = {"x11", "screencopy", "kwin", "portal"};

const std::string kNoDisplay = "no display: set DISPLAY (for example, run under Xvfb)";
const std::string kWaylandWithoutDisplay
    = "this is a Wayland session without WAYLAND_DISPLAY: the screen cannot be read";

template <typename Kind> const std::string& missingIn(const std::vector<Offer<Kind>>& offers, Kind kind)
{
    static const std::string unknown = "unknown";
    for (const Offer<Kind>& offer : offers)
        if (offer.kind == kind)
            return offer.missing;
    return unknown;
}

template <typename Kind> bool offers(const std::vector<Offer<Kind>>& offers, Kind kind)
{
    return missingIn(offers, kind).empty();
}

} // namespace

SessionEnvironment SessionEnvironment::fromProcess()
{
    // In any case, as --screen takes it.
    std::string forced = environmentValue("QUORVEX7_SCREEN");
    for (char& c : forced)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return {environmentValue("DISPLAY"), environmentValue("WAYLAND_DISPLAY"),
        environmentValue("XDG_SESSION_TYPE"), forced, environmentValue("XDG_CURRENT_DESKTOP")};
}

bool SessionEnvironment::isGnome() const
{
    // A colon-separated list, most specific first: "ubuntu:GNOME".
    std::string_view rest = currentDesktop;
    while (!rest.empty()) {
        const size_t end = std::min(rest.find(':'), rest.size());
        if (rest.substr(0, end) == "GNOME")
            return true;
        rest.remove_prefix(std::min(end + 1, rest.size()));
    }
    return false;
}

const char* screenSourceName(ScreenSourceKind kind)
{
    return kSourceNames[size_t(kind)];
}

std::optional<ScreenSourceKind> screenSourceNamed(std::string_view name)
{
    for (size_t i = 0; i < kSourceNames.size(); ++i)
        if (name == kSourceNames[i])
            return ScreenSourceKind(i);
    return std::nullopt;
}

Status sessionFailure(const SessionEnvironment& session)
{
    if (!session.forcedSource.empty() && !screenSourceNamed(session.forcedSource))
        return fail(
            "the screen source '" + session.forcedSource + "' is not one of x11, screencopy, kwin, portal");
    if (!session.forcedSource.empty() || session.isWayland())
        return {};
    if (session.sessionType == "wayland")
        return fail(kWaylandWithoutDisplay);
    if (session.display.empty())
        return fail(kNoDisplay);
    return {};
}

DesktopOffer describeDesktop(const SessionEnvironment& session, DesktopProbe& probe)
{
    using Source = ScreenSourceKind;
    DesktopOffer offer;
    offer.startable = sessionFailure(session);
    offer.forced = screenSourceNamed(session.forcedSource);
    const bool wayland = offer.wayland = session.isWayland();

    std::string x11 = session.display.empty() ? kNoDisplay : std::string();
    if (wayland)
        x11 = "this is a Wayland session, where X11 sees only the windows of X11 programs";
    else if (session.sessionType == "wayland")
        x11 = kWaylandWithoutDisplay;

    const std::string notWayland = "this is no Wayland session (WAYLAND_DISPLAY is not set)";
    std::string screencopy = notWayland, layerShell = notWayland;
    if (wayland) {
        const Result<WaylandGlobals> globals = probe.waylandGlobals();
        screencopy = layerShell = offer.waylandUnreachable = globals.error();
        if (globals && !globals->screencopy)
            screencopy = "the compositor offers no screen copy (zwlr_screencopy_manager_v1)";
        if (globals && !globals->layerShell)
            layerShell = "the compositor offers no layer shell (zwlr_layer_shell_v1)";
        offer.dataControl = globals && globals->dataControl;
    }

    // The bus only where nothing better reads the screen, or where the user asks for its sources.
    std::string kwin
        = wayland ? "not asked: screen copy reads this desktop" : "not asked: X11 reads this screen";
    std::string portal = kwin;
    const bool forcedOnBus = offer.forced == Source::KWinScreenshot || offer.forced == Source::Portal;
    if (forcedOnBus || (wayland && !screencopy.empty())) {
        const Result<BusServices> bus = probe.busServices();
        kwin = portal = bus.error();
        if (bus && !bus->kwinScreenshot)
            kwin = "KWin's screenshot interface (org.kde.KWin.ScreenShot2) is not on the session bus";
        if (bus && !bus->portal)
            portal = portalMissingMessage();
    }

    offer.sources = {{Source::X11, x11}, {Source::Screencopy, screencopy}, {Source::KWinScreenshot, kwin},
        {Source::Portal, portal}};
    offer.frames = {{FrameKind::X11Shape, wayland || !x11.empty() ? "this is no X11 session" : ""},
        {FrameKind::LayerShell, layerShell}, {FrameKind::Still, ""}};
    return offer;
}

std::vector<ScreenSourceKind> DesktopOffer::sourcesToTry() const
{
    if (forced)
        return {*forced};
    if (!startable)
        return {};
    std::vector<ScreenSourceKind> kinds;
    for (const Offer<ScreenSourceKind>& source : sources)
        if (source.offered())
            kinds.push_back(source.kind);
    return kinds;
}

const std::string& DesktopOffer::missing(ScreenSourceKind kind) const
{
    return missingIn(sources, kind);
}

const std::string& DesktopOffer::missing(FrameKind kind) const
{
    return missingIn(frames, kind);
}

FrameKind DesktopOffer::frameFor(ScreenSourceKind source) const
{
    if (source == ScreenSourceKind::X11)
        return offers(frames, FrameKind::X11Shape) ? FrameKind::X11Shape : FrameKind::Still;
    // Whatever reads a Wayland desktop, layer shell shows the frame over the live desktop.
    return offers(frames, FrameKind::LayerShell) ? FrameKind::LayerShell : FrameKind::Still;
}

std::string DesktopOffer::noSourceMessage() const
{
    if (!startable)
        return startable.error();
    if (!wayland)
        return missing(ScreenSourceKind::X11);
    // A display that cannot be opened is the cause: no desktop's offer is missing.
    return waylandUnreachable.empty() ? neitherScreenSourceMessage() : waylandUnreachable;
}

} // namespace quorvex
