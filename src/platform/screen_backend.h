#pragma once

#include "capture/screen_reader.h"
#include "platform/desktop_bus.h"
#include "platform/desktop_offer.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

// The one place that opens, from what the desktop offers, the reader of its screen.
namespace quorvex {

// The session's servers as the choice asks them: the Wayland compositor on a connection of its own,
// the session bus through `connectBus` (the command line loads a module for it); each asked once.
class SessionProbe final : public DesktopProbe {
public:
    using BusConnector = std::function<Result<std::unique_ptr<DesktopBus>>()>;
    SessionProbe(SessionEnvironment session, BusConnector connectBus);
    ~SessionProbe() override;

    Result<WaylandGlobals> waylandGlobals() override;
    Result<BusServices> busServices() override;
    // The bus's desktop services, connected on first use; or why there are none.
    Result<DesktopBus*> bus();

private:
    SessionEnvironment m_session;
    BusConnector m_connectBus;
    std::optional<Result<WaylandGlobals>> m_globals;
    std::optional<Result<std::unique_ptr<DesktopBus>>> m_bus;
    std::optional<Result<BusServices>> m_services;
};

// The line said where KWin's screenshot could not be used and the portal reads the screen instead.
std::string kwinFallbackLine(const std::string& kwinFailure);

// A reader of this session's screen on a connection of its own, as a program without a window reads
// it: the forced source (or why it fails), else the best the desktop offers that opens; or why none
// does. A screenshot reader has its screenshot taken. `say` hears what is no failure
// but worth knowing (the desktop is about to ask a question; KDE's portal draws the pointer).
// `kwin` says what KWin's screenshot takes where it is the source (the command line's --window and
// --pointer); `kind` is the source opened.
struct OpenedScreenReader {
    std::unique_ptr<ScreenReader> reader;
    ScreenSourceKind kind;
};
Result<OpenedScreenReader> openScreenReader(
    const SessionEnvironment& session, const SayLine& say, KWinCapture kwin = {});

} // namespace quorvex
