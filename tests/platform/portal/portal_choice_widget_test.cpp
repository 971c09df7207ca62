#include "platform/portal/portal_protocol.h"
#include "platform/window_backend.h"

#include <cstdlib>
#include <gtest/gtest.h>

using namespace quorvex;

// A session bus and a Wayland display that are not there: the window program says up front what is
// missing, and a forced source that fails is reported, never replaced (by Qt's own grab, say).
TEST(PortalChoice, TheWindowProgramSaysWhichSourceIsMissing)
{
    ::setenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/bus", 1);
    ::setenv("WAYLAND_DISPLAY", "no-such-display", 1);
    ::setenv("XDG_RUNTIME_DIR", "/nonexistent-runtime", 1);
    const struct {
        const char* forced;
        std::string reason;
    } cases[]
        = {{"portal", portalMissingMessage()}, {"", "cannot open the Wayland display 'no-such-display'"},
            {"kwin", "KWin's screenshot interface (org.kde.KWin.ScreenShot2) is not on the session bus"},
            {"x11", "this program's windows are not on X11 here (QT_QPA_PLATFORM), so it cannot read X11"}};
    for (const auto& c : cases) {
        ::setenv("QUORVEX7_SCREEN", c.forced, 1);
        const WindowBackend backend = chooseWindowBackend();
        EXPECT_EQ(backend.screen->readable().error(), c.reason) << c.forced;
        EXPECT_EQ(backend.overlayScreen->readable().error(), c.reason) << c.forced;
    }
}
