#include "platform/desktop_offer.h"
#include "platform/portal/portal_protocol.h"

#include <gtest/gtest.h>

using namespace quorvex;
using Source = ScreenSourceKind;

namespace {

// A desktop's servers as the description asks them, counting what it asks.
struct FakeProbe final : DesktopProbe {
    Result<WaylandGlobals> globals = WaylandGlobals{};
    Result<BusServices> bus = BusServices{};
    int waylandAsked = 0;
    int busAsked = 0;

    Result<WaylandGlobals> waylandGlobals() override { return ++waylandAsked, globals; }
    Result<BusServices> busServices() override { return ++busAsked, bus; }
};

SessionEnvironment session(const char* display, const char* wayland, const char* forced = "")
{
    return {display, wayland, *wayland ? "wayland" : "x11", forced, ""};
}

} // namespace

// X11 asks no server at all: the grab stays as cheap as it was, and the bus's library unloaded.
TEST(DesktopOffer, X11IsReadDirectlyAndAsksNothing)
{
    FakeProbe probe;
    const DesktopOffer x11 = describeDesktop(session(":0", ""), probe);
    EXPECT_EQ(x11.sourcesToTry(), std::vector{Source::X11});
    EXPECT_EQ(x11.frameFor(Source::X11), FrameKind::X11Shape);
    EXPECT_EQ(x11.missing(Source::Portal), "not asked: X11 reads this screen");
    EXPECT_EQ(x11.missing(Source::Screencopy), "this is no Wayland session (WAYLAND_DISPLAY is not set)");
    EXPECT_EQ(probe.waylandAsked + probe.busAsked, 0);

    const DesktopOffer none = describeDesktop(session("", ""), probe);
    EXPECT_TRUE(none.sourcesToTry().empty());
    EXPECT_EQ(none.noSourceMessage(), "no display: set DISPLAY (for example, run under Xvfb)");
    SessionEnvironment waylandWithoutDisplay = session(":0", "");
    waylandWithoutDisplay.sessionType = "wayland";
    EXPECT_EQ(describeDesktop(waylandWithoutDisplay, probe).noSourceMessage(),
        "this is a Wayland session without WAYLAND_DISPLAY: the screen cannot be read");
    EXPECT_TRUE(sessionFailure(session(":0", "")));
    EXPECT_EQ(sessionFailure(session(":0", "", "vnc")).error(),
        "the screen source 'vnc' is not one of x11, screencopy, kwin, portal");
    EXPECT_TRUE(describeDesktop(session(":0", "", "vnc"), probe).sourcesToTry().empty());
    EXPECT_EQ(probe.waylandAsked + probe.busAsked, 0);

    // Forced to the portal, X11 asks the bus for it.
    probe.bus = BusServices{false, true};
    EXPECT_EQ(
        describeDesktop(session(":0", "", "portal"), probe).sourcesToTry(), std::vector{Source::Portal});
    EXPECT_EQ(probe.busAsked, 1);
}

// sway, GNOME, KDE and a compositor that cannot be reached, each as the desktop offers it.
TEST(DesktopOffer, EachWaylandDesktopOffersItsOwnSourcesAndFrames)
{
    FakeProbe sway;
    sway.globals = WaylandGlobals{true, true};
    const DesktopOffer wlroots = describeDesktop(session(":0", "wayland-1"), sway);
    EXPECT_EQ(wlroots.sourcesToTry(), std::vector{Source::Screencopy});
    EXPECT_EQ(wlroots.frameFor(Source::Screencopy), FrameKind::LayerShell);
    EXPECT_EQ(wlroots.missing(Source::X11),
        "this is a Wayland session, where X11 sees only the windows of X11 programs");
    EXPECT_EQ(wlroots.missing(Source::KWinScreenshot), "not asked: screen copy reads this desktop");
    EXPECT_EQ(sway.busAsked, 0);

    FakeProbe gnome;
    gnome.bus = BusServices{false, true};
    const DesktopOffer shell = describeDesktop(session("", "wayland-0"), gnome);
    EXPECT_EQ(shell.sourcesToTry(), std::vector{Source::Portal});
    EXPECT_EQ(shell.missing(Source::Screencopy),
        "the compositor offers no screen copy (zwlr_screencopy_manager_v1)");
    EXPECT_EQ(shell.missing(Source::KWinScreenshot),
        "KWin's screenshot interface (org.kde.KWin.ScreenShot2) is not on the session bus");
    EXPECT_EQ(
        shell.missing(FrameKind::LayerShell), "the compositor offers no layer shell (zwlr_layer_shell_v1)");
    EXPECT_EQ(shell.missing(FrameKind::X11Shape), "this is no X11 session");
    EXPECT_EQ(shell.frameFor(Source::Portal), FrameKind::Still);

    FakeProbe kwin;
    kwin.globals = WaylandGlobals{false, true};
    kwin.bus = BusServices{true, true};
    const DesktopOffer kde = describeDesktop(session("", "wayland-0"), kwin);
    EXPECT_EQ(kde.sourcesToTry(), (std::vector{Source::KWinScreenshot, Source::Portal}));
    EXPECT_EQ(kde.frameFor(Source::KWinScreenshot), FrameKind::LayerShell);
    EXPECT_EQ(kde.frameFor(Source::Portal), FrameKind::LayerShell);
    // Forced, a source is tried alone, even one the description finds missing: its failure is reported.
    EXPECT_EQ(describeDesktop(session("", "wayland-0", "screencopy"), kwin).sourcesToTry(),
        std::vector{Source::Screencopy});
    EXPECT_EQ(
        describeDesktop(session("", "wayland-0", "x11"), kwin).sourcesToTry(), std::vector{Source::X11});

    FakeProbe gone;
    gone.globals = fail("cannot open the Wayland display 'wayland-9'");
    gone.bus = fail("no session bus");
    const DesktopOffer unreachable = describeDesktop(session("", "wayland-9"), gone);
    EXPECT_TRUE(unreachable.sourcesToTry().empty());
    EXPECT_EQ(unreachable.missing(Source::Screencopy), "cannot open the Wayland display 'wayland-9'");
    EXPECT_EQ(unreachable.missing(Source::Portal), "no session bus");
    EXPECT_EQ(unreachable.noSourceMessage(), "cannot open the Wayland display 'wayland-9'");
    FakeProbe bare; // a compositor that answers, with neither screen copy nor a portal on its bus
    EXPECT_EQ(
        describeDesktop(session("", "wayland-1"), bare).noSourceMessage(), neitherScreenSourceMessage());
}

TEST(DesktopOffer, SourceNamesAndGnome)
{
    for (const Source kind : {Source::X11, Source::Screencopy, Source::KWinScreenshot, Source::Portal})
        EXPECT_EQ(screenSourceNamed(screenSourceName(kind)), kind);
    EXPECT_EQ(screenSourceNamed("KWin"), std::nullopt);
    const struct {
        const char* desktop;
        bool gnome;
    } desktops[] = {{"GNOME", true}, {"ubuntu:GNOME", true}, {"GNOME-Flashback:GNOME", true}, {"KDE", false},
        {"GNOME-Classic", false}, {"", false}, {"sway:", false}};
    for (const auto& d : desktops) {
        SessionEnvironment environment;
        environment.currentDesktop = d.desktop;
        EXPECT_EQ(environment.isGnome(), d.gnome) << d.desktop;
    }
}
