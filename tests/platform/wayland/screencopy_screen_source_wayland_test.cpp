#include "platform/wayland/screencopy_screen_source.h"
#include "test_images.h"

#include <QGuiApplication>
#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>

using namespace quorvex;
using namespace testsupport;

// The runner's sway shows the coordinate pattern on one 1280 x 800 output.
TEST(ScreencopyScreenSource, ReadsTheDesktopExactlyAndBlackBeyondIt)
{
    ASSERT_EQ(QGuiApplication::platformName(), "wayland");
    Result<std::unique_ptr<ScreencopyReader>> reader
        = ScreencopyReader::connect(std::getenv("WAYLAND_DISPLAY"));
    ASSERT_TRUE(reader) << reader.error();
    auto screen = std::make_unique<ScreencopyScreenSource>(std::move(reader).value());
    ASSERT_EQ(screen->screenSize().value(), QSize(1280, 800));
    const QImage pattern = coordinatePattern(1280, 800);
    // A picture shows the shared memory the compositor copied into: the next read must not write
    // over a picture still held, and a picture may outlive its source.
    const QImage first = screen->grab(QRect(0, 0, 1280, 800)).value();
    const QImage part = screen->grab(QRect(10, 20, 300, 200)).value();
    EXPECT_EQ(differenceBetween(screen->grab(QRect(0, 0, 1280, 800)).value(), pattern), QString());

    const QRect beyond(1230, 780, 100, 60);
    EXPECT_EQ(differenceBetween(screen->grab(beyond).value(), screenPartOnBlack(pattern, beyond)), QString());
    screen.reset();
    EXPECT_EQ(differenceBetween(first, pattern), QString());
    EXPECT_EQ(differenceBetween(part, pattern.copy(10, 20, 300, 200)), QString());
}
