#include "app/main_window.h"
#include "app/picture_view.h"
#include "app/platform_services.h"
#include "app_fixture.h"
#include "capture/qt_screen_source.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

using namespace quorvex;
using namespace testsupport;

// The real X screen with known pixels on the root window: the grab must be exactly those pixels,
// whether a window manager minimises the main window or (without one) nothing does.
TEST(WholeScreenGrab, ReadsExactlyThePixelsOnTheScreen)
{
    const QSize size = QGuiApplication::primaryScreen()->geometry().size();
    const QImage pattern = coordinatePattern(size.width(), size.height());
    setRootBackground(pattern);

    QtScreenSource screen;
    RecordingMessageBoxes messages;
    RecordingUrlOpener urls;
    FixedClock clock;
    ChosenPathDialog saveDialog;
    RecordingPrinter printer;
    Form1 window(
        {screen, screen, messages, urls, clock, saveDialog, printer, *QGuiApplication::clipboard()}, Twips{});
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    window.GrabWholeScreen();

    const PictureViewState& s = window.pictures();
    EXPECT_EQ(differenceBetween(s.pic1.picture(), pattern), QString());
    EXPECT_EQ(differenceBetween(s.pb.picture(), pattern), QString());
    EXPECT_EQ(differenceBetween(s.pSize.picture(), pattern), QString());
    EXPECT_EQ(s.GrabWidth, size.width() * 15);
    EXPECT_EQ(window.pic1->pos(), QPoint(16, 40));
    EXPECT_TRUE(window.pic1->isVisible());
    EXPECT_EQ(window.windowTitle(), "Quorvex7");
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&window)) << "the window comes back after the grab";
    EXPECT_FALSE(window.isMinimized());
}
