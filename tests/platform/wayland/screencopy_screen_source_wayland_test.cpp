#include "platform/wayland/screencopy_screen_source.h"
#include "platform/window_backend.h"
#include "test_images.h"

#include <QGuiApplication>
#include <QPainter>
#include <cstdlib>
#include <gtest/gtest.h>

using namespace quorvex;
using testsupport::coordinatePattern;
using testsupport::differenceBetween;

// The runner's sway shows the coordinate pattern on one 1280 x 800 output.
TEST(ScreencopyScreenSource, ReadsTheDesktopExactlyAndBlackBeyondIt)
{
    ASSERT_EQ(QGuiApplication::platformName(), "wayland");
    ScreencopyReader::Opened opened = ScreencopyReader::connect(std::getenv("WAYLAND_DISPLAY"));
    ASSERT_TRUE(opened.reader) << opened.failure;
    ScreencopyScreenSource screen(std::move(opened.reader));
    ASSERT_EQ(screen.screenSize(), QSize(1280, 800));
    const QImage pattern = coordinatePattern(1280, 800);
    for (int again = 0; again < 2; ++again) // the second read reuses the first one's buffer
        EXPECT_EQ(differenceBetween(screen.grab(0, false, QRect(0, 0, 1280, 800)), pattern), QString());

    QImage padded(100, 60, QImage::Format_RGB32);
    padded.fill(Qt::black);
    QPainter(&padded).drawImage(0, 0, pattern.copy(1230, 780, 50, 20));
    EXPECT_EQ(differenceBetween(screen.grab(0, false, QRect(1230, 780, 100, 60)), padded), QString());
    EXPECT_TRUE(screen.grab(42, true, QRect(0, 0, 10, 10)).isNull()) << "no other window can be read";
}

TEST(ScreencopyScreenSource, IsWhatTheWindowProgramReadsOnWayland)
{
    const WindowBackend backend = chooseWindowBackend();
    const QImage pattern = coordinatePattern(1280, 800);
    for (ScreenSource* screen : {backend.screen.get(), backend.overlayScreen.get()})
        EXPECT_EQ(differenceBetween(screen->grab(0, false, QRect(0, 0, 1280, 800)), pattern), QString());
}
