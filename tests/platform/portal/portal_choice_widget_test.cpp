#include "platform/portal/portal_protocol.h"
#include "platform/window_backend.h"

#include <cstdlib>
#include <gtest/gtest.h>

using namespace quorvex;

// A session bus that is not there: the window program says up front what is missing.
TEST(PortalChoice, TheWindowProgramSaysWhichSourceIsMissing)
{
    ::setenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/bus", 1);
    ::setenv("WAYLAND_DISPLAY", "no-such-display", 1);
    const struct {
        const char* forced;
        std::string reason;
    } cases[] = {{"portal", portalMissingMessage()}, {"", neitherScreenSourceMessage()}};
    for (const auto& c : cases) {
        ::setenv("QUORVEX7_SCREEN", c.forced, 1);
        const WindowBackend backend = chooseWindowBackend();
        EXPECT_EQ(backend.screen->unreadableReason().toStdString(), c.reason) << c.forced;
        EXPECT_EQ(backend.overlayScreen->unreadableReason().toStdString(), c.reason) << c.forced;
    }
}
