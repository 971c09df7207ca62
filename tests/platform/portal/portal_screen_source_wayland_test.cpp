#include "platform/window_backend.h"
#include "test_images.h"

#include <QGuiApplication>
#include <cstdlib>
#include <gtest/gtest.h>

using namespace quorvex;
using testsupport::coordinatePattern;
using testsupport::differenceBetween;
using testsupport::screenPartOnBlack;

// The runner's sway shows the coordinate pattern on one 1280 x 800 output; its portal reads it.
TEST(PortalScreenSource, TheWindowProgramReadsTheDesktopThroughTheForcedPortal)
{
    ASSERT_EQ(QGuiApplication::platformName(), "wayland");
    ::setenv("QUORVEX7_SCREEN", "portal", 1);
    const WindowBackend backend = chooseWindowBackend();
    ScreenSource& screen = *backend.screen;
    ASSERT_EQ(screen.unreadableReason(), QString());
    const QImage pattern = coordinatePattern(1280, 800);
    for (int again = 0; again < 2; ++again) { // a whole-screen grab asks the size first
        ASSERT_EQ(screen.screenSize(), QSize(1280, 800)) << screen.lastGrabFailure().toStdString();
        EXPECT_EQ(differenceBetween(screen.grab(0, false, QRect(0, 0, 1280, 800)), pattern), QString());
    }
    const QRect beyond(1230, 780, 100, 60);
    EXPECT_EQ(
        differenceBetween(screen.grab(0, false, beyond), screenPartOnBlack(pattern, beyond)), QString());
    EXPECT_TRUE(screen.grab(42, true, QRect(0, 0, 10, 10)).isNull()) << "no other window can be read";
}
