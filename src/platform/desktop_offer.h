#pragma once

#include "common/result.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What this desktop offers for reading its screen and for showing the selection frame, decided from
// the session alone: both programs ask it, so they never drift apart.
namespace quorvex {

// What the session says about its display (so tests can set it).
struct SessionEnvironment {
    std::string display; // DISPLAY
    std::string waylandDisplay; // WAYLAND_DISPLAY
    std::string sessionType; // XDG_SESSION_TYPE
    std::string forcedSource; // QUORVEX7_SCREEN or --screen (see screenSourceNamed); empty: chosen
    std::string currentDesktop; // XDG_CURRENT_DESKTOP: "GNOME", "KDE", "ubuntu:GNOME", ...

    static SessionEnvironment fromProcess();
    bool isWayland() const { return !waylandDisplay.empty(); }
    // GNOME's portal asks the user before its first screenshot.
    bool isGnome() const;
};

// How the screen is read: X11 over xcb, the wlroots screen-copy protocol, KWin's screenshot interface
// (org.kde.KWin.ScreenShot2, for programs KWin authorises) or the desktop portal's screenshot.
enum class ScreenSourceKind { X11, Screencopy, KWinScreenshot, Portal };
// How the selection frame is shown: an X11 window given a shape, layer-shell surfaces above every
// window, or a frame on a full-screen still picture of the desktop.
enum class FrameKind { X11Shape, LayerShell, Still };

// The name --screen and QUORVEX7_SCREEN take (x11, screencopy, kwin, portal), and back.
const char* screenSourceName(ScreenSourceKind kind);
std::optional<ScreenSourceKind> screenSourceNamed(std::string_view name);

// What the Wayland compositor offers among its globals.
struct WaylandGlobals {
    bool screencopy = false; // zwlr_screencopy_manager_v1
    bool layerShell = false; // zwlr_layer_shell_v1
    bool dataControl = false; // zwlr_data_control_manager_v1
};
// What the session bus offers.
struct BusServices {
    bool kwinScreenshot = false; // org.kde.KWin with /org/kde/KWin/ScreenShot2
    bool portal = false; // org.freedesktop.portal.Desktop, running or startable
};

// The session's servers, asked only when the answer matters: an X11 session asks neither, and a
// Wayland compositor with screen copy is read without asking the bus (whose library then stays
// unloaded). Each answer is a value or why the server cannot be asked.
class DesktopProbe {
public:
    virtual ~DesktopProbe() = default;
    virtual Result<WaylandGlobals> waylandGlobals() = 0;
    virtual Result<BusServices> busServices() = 0;
};

template <typename Kind> struct Offer {
    Kind kind;
    std::string missing; // why this desktop does not offer it; empty where it does

    bool offered() const { return missing.empty(); }
};

struct DesktopOffer {
    std::vector<Offer<ScreenSourceKind>> sources; // every source, best first
    std::vector<Offer<FrameKind>> frames; // every kind of frame, best first
    std::optional<ScreenSourceKind> forced; // the source the user forced
    Status startable; // or why nothing can be tried (a forced name that is none, no display)
    bool wayland = false; // a Wayland session
    std::string waylandUnreachable; // why its display could not be opened; empty where it was
    // The Wayland compositor offers data control (zwlr_data_control_manager_v1): a client may take the
    // clipboard without the keyboard's focus, and a process of its own may keep it.
    bool dataControl = false;

    // What to open in turn: the forced source alone (its own failure is the one reported, never
    // replaced), else each offered source, best first.
    std::vector<ScreenSourceKind> sourcesToTry() const;
    const std::string& missing(ScreenSourceKind kind) const;
    const std::string& missing(FrameKind kind) const;
    // The frame that goes with reading through `source`: on X11 a shaped window, on Wayland layer-shell
    // surfaces over the live desktop (a source that takes a moment reads with them hidden), else a
    // still picture of the desktop.
    FrameKind frameFor(ScreenSourceKind source) const;
    // Why no source can be read when none is offered, in one line.
    std::string noSourceMessage() const;
};

// What this session's desktop offers, asking `probe` only what the answer needs.
DesktopOffer describeDesktop(const SessionEnvironment& session, DesktopProbe& probe);

// Why a grab cannot even start in this session, from its environment alone (a forced name that is
// none, no display at all). Asks no server.
Status sessionFailure(const SessionEnvironment& session);

} // namespace quorvex
