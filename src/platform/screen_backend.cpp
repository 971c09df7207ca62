#include "platform/screen_backend.h"

#include "platform/desktop_bus_loader.h"
#include "platform/portal/portal_protocol.h"
#include "platform/wayland/screencopy_reader.h"
#include "platform/wayland/wayland_connection.h"
#include "platform/x11/xcb_screen_reader.h"

namespace quorvex {

namespace {

Result<std::unique_ptr<ScreenReader>> openX11(const SessionEnvironment& session)
{
    if (session.display.empty())
        return fail("no display: set DISPLAY (for example, run under Xvfb)");
    // One grab: shared memory would cost more to set up than it saves.
    std::unique_ptr<XcbScreenReader> reader = XcbScreenReader::connect(session.display, false);
    if (!reader)
        return fail("cannot open the X display '" + session.display + "'");
    if (Status readable = reader->readable(); !readable)
        return fail(readable.error());
    return std::unique_ptr<ScreenReader>(std::move(reader));
}

Result<std::unique_ptr<ScreenReader>> withScreenshot(std::unique_ptr<ScreenshotReader> reader)
{
    if (const Status taken = reader->takeScreenshot(); !taken)
        return fail(taken.error());
    return std::unique_ptr<ScreenReader>(std::move(reader));
}

Result<std::unique_ptr<ScreenReader>> open(ScreenSourceKind kind, const SessionEnvironment& session,
    const DesktopOffer& offer, SessionProbe& probe, const SayLine& say, KWinCapture kwin)
{
    switch (kind) {
    case ScreenSourceKind::X11:
        return openX11(session);
    case ScreenSourceKind::Screencopy: {
        Result<std::unique_ptr<ScreencopyReader>> reader = ScreencopyReader::connect(session.waylandDisplay);
        if (!reader)
            return fail(reader.error());
        return std::unique_ptr<ScreenReader>(std::move(reader).value());
    }
    case ScreenSourceKind::KWinScreenshot:
    case ScreenSourceKind::Portal:
        break;
    }
    // A service the bus does not have fails as the desktop's description says.
    if (const std::string& missing = offer.missing(kind); !missing.empty())
        return fail(missing);
    Result<DesktopBus*> bus = probe.bus();
    if (!bus)
        return fail(bus.error());
    return withScreenshot(kind == ScreenSourceKind::Portal ? (*bus)->portal(session.isGnome(), say)
                                                           : (*bus)->kwinScreenshot(kwin));
}

} // namespace

SessionProbe::SessionProbe(SessionEnvironment session, BusConnector connectBus)
    : m_session(std::move(session))
    , m_connectBus(std::move(connectBus))
{
}

SessionProbe::~SessionProbe() = default;

Result<WaylandGlobals> SessionProbe::waylandGlobals()
{
    if (!m_globals)
        m_globals = readWaylandGlobals(m_session.waylandDisplay);
    return *m_globals;
}

Result<DesktopBus*> SessionProbe::bus()
{
    if (!m_bus)
        m_bus = m_connectBus();
    if (!*m_bus)
        return fail(m_bus->error());
    return m_bus->value().get();
}

Result<BusServices> SessionProbe::busServices()
{
    if (!m_services) {
        const Result<DesktopBus*> connected = bus();
        m_services = connected ? Result<BusServices>((*connected)->services()) : fail(connected.error());
    }
    return *m_services;
}

std::string kwinFallbackLine(const std::string& kwinFailure)
{
    return kwinFailure
        + "; the desktop portal reads the screen instead, and KDE's portal draws the pointer "
          "into the picture";
}

Result<OpenedScreenReader> openScreenReader(
    const SessionEnvironment& session, const SayLine& say, KWinCapture kwin)
{
    SessionProbe probe(session, loadDesktopBus);
    const DesktopOffer offer = describeDesktop(session, probe);
    const std::vector<ScreenSourceKind> kinds = offer.sourcesToTry();
    if (kinds.empty())
        return fail(offer.noSourceMessage());
    std::string failure;
    for (size_t i = 0; i < kinds.size(); ++i) {
        Result<std::unique_ptr<ScreenReader>> opened = open(kinds[i], session, offer, probe, say, kwin);
        if (opened)
            return OpenedScreenReader{std::move(*opened), kinds[i]};
        failure = opened.error();
        const bool portalNext = i + 1 < kinds.size() && kinds[i + 1] == ScreenSourceKind::Portal;
        if (kinds[i] == ScreenSourceKind::KWinScreenshot && portalNext && say)
            say(kwinFallbackLine(failure));
    }
    return fail(failure);
}

} // namespace quorvex
