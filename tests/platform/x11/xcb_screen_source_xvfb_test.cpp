#include "capture/window_grab.h"
#include "platform/x11/qt_x11_connection.h"
#include "platform/x11/xcb_screen_source.h"
#include "test_images.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>
#include <xcb/xcb.h>

using namespace quorvex;
using namespace testsupport;

namespace {

// Makes `pixels`, already in the screen's layout, the root window's background.
void setRootPixels(const QImage& pixels, int depth)
{
    xcb_connection_t* c = qtX11Connection();
    xcb_screen_t* screen = qtX11Screen(); // the one DISPLAY names, as Qt's
    const xcb_pixmap_t pixmap = xcb_generate_id(c);
    xcb_create_pixmap(
        c, uint8_t(depth), pixmap, screen->root, uint16_t(pixels.width()), uint16_t(pixels.height()));
    const xcb_gcontext_t gc = xcb_generate_id(c);
    xcb_create_gc(c, gc, pixmap, 0, nullptr);
    for (int y = 0; y < pixels.height(); y += 64) {
        const int rows = std::min(64, pixels.height() - y);
        xcb_put_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, pixmap, gc, uint16_t(pixels.width()), uint16_t(rows), 0,
            int16_t(y), 0, uint8_t(depth), uint32_t(pixels.bytesPerLine() * rows), pixels.constScanLine(y));
    }
    xcb_change_window_attributes(c, screen->root, XCB_CW_BACK_PIXMAP, &pixmap);
    xcb_clear_area(c, 0, screen->root, 0, 0, 0, 0);
    xcb_free_gc(c, gc);
    xcb_free_pixmap(c, pixmap); // the root keeps it as its background
    std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
}

class XcbScreenSourceTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        const QSize size = QGuiApplication::primaryScreen()->geometry().size();
        // The tests run at 16, 24 and 30 bits: the root shows the pattern as Qt puts it in the
        // screen's own pixel layout, and what Qt reads back of that is what the screen holds.
        const int depth = QGuiApplication::primaryScreen()->depth();
        const QImage held = coordinatePattern(size.width(), size.height())
                                .convertToFormat(depth == 16 ? QImage::Format_RGB16
                                        : depth == 30        ? QImage::Format_RGB30
                                                             : QImage::Format_RGB32);
        setRootPixels(held, depth);
        pattern = held.convertToFormat(QImage::Format_RGB32);
    }
    static inline QImage pattern;
};

} // namespace

TEST_F(XcbScreenSourceTest, BothPathsReadExactlyTheScreenAndPadWithBlackBeyondIt)
{
    for (bool shm : {false, true}) {
        SCOPED_TRACE(shm ? "shared memory" : "plain");
        XcbScreenSource source(qtX11Connection(), shm);
        EXPECT_EQ(source.usesSharedMemory(), shm);
        EXPECT_EQ(source.screenSize().value(), pattern.size());
        // The whole screen, then smaller and larger grabs from the reused segment; the last 50 x 20
        // of the screen's corner, the rest black.
        for (const QRect r : {pattern.rect(), QRect(1, 2, 3, 4), pattern.rect(),
                 QRect(pattern.width() - 50, pattern.height() - 20, 100, 60)}) {
            const QImage part = grabDesktopRect(source, r).value();
            EXPECT_EQ(differenceBetween(part, screenPartOnBlack(pattern, r)), QString());
        }
        EXPECT_TRUE(grabDesktopRect(source, {0, 0, 0, 10}).value().isNull());
    }
}

TEST_F(XcbScreenSourceTest, PicturesKeptAcrossLaterGrabsKeepTheirPixels)
{
    XcbScreenSource source(qtX11Connection(), true);
    std::vector<std::pair<QRect, QImage>> kept;
    for (int i = 0; i < 7; ++i) { // more than the segments that go round: the rest read the plain way
        const QRect r(10 * i, 7 * i, 300 + i, 200);
        kept.emplace_back(r, grabDesktopRect(source, r).value());
    }
    for (const auto& [r, picture] : kept)
        EXPECT_EQ(differenceBetween(picture, pattern.copy(r)), QString()) << r.x();
    kept.clear(); // all let go: the segments serve again
    const QImage again = grabDesktopRect(source, {5, 5, 64, 64}).value();
    EXPECT_EQ(differenceBetween(again, pattern.copy(5, 5, 64, 64)), QString());
}

TEST_F(XcbScreenSourceTest, GrabsAWindowsClientArea)
{
    QWidget window;
    window.setPalette(QPalette(QColor(8, 255, 33))); // the same colour at 15, 16 and 30 bits
    window.setGeometry(300, 200, 120, 80);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QTest::qWait(100);

    XcbScreenSource xcb(qtX11Connection(), false);
    const QImage ours = GrabWindowRect(xcb, window.winId(), true, 10, 10, 50, 40);
    EXPECT_EQ(ours.size(), QSize(50, 40));
    EXPECT_EQ(ours.pixel(0, 0) & 0xFFFFFF, qRgb(8, 255, 33) & 0xFFFFFF);
}
