#include "capture/overlay_loader.h"
#include "capture/overlay_shape.h"
#include "capture/selection_overlay.h"
#include "overlay_test_support.h"
#include "platform/window_backend.h"

#include "test_images.h"
#include "ui_helpers.h"

#include <QElapsedTimer>
#include <QMouseEvent>
#include <QProcess>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

using namespace quorvex;
using overlaytest::RecordingReceiver;
using testsupport::k96Dpi;

namespace {

const QImage& desktop()
{
    static const QImage pattern = testsupport::coordinatePattern(1920, 1080);
    return pattern;
}

void pointerClick(QPoint at)
{
    const QStringList arguments{"mousemove", QString::number(at.x()), QString::number(at.y()), "click", "1"};
    ASSERT_EQ(QProcess::execute(QStringLiteral("xdotool"), arguments), 0);
}

class OverlayOnScreen : public testing::Test {
protected:
    WindowBackend backend = chooseWindowBackend();
    ScreenSource& screen = *backend.overlayScreen;
    RecordingReceiver receiver;
    OverlayLoader loader{screen, *backend.overlayWindows, receiver, k96Dpi};

    static void SetUpTestSuite() { testsupport::setRootBackground(desktop()); }

    void SetUp() override
    {
        ASSERT_EQ(QGuiApplication::primaryScreen()->size(), QSize(1920, 1080));
        // Windows of the test before may take a moment to leave the screen under a window manager.
        QString difference;
        const bool clean = QTest::qWaitFor([&] {
            difference = testsupport::differenceBetween(screen.grab({0, 0, 1920, 1080}).value(), desktop());
            return difference.isEmpty();
        });
        ASSERT_TRUE(clean) << "the screen does not show the pattern: " << difference.toStdString();
    }

    void TearDown() override
    {
        loader.unloadOverlay();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // The loaded overlay at `position`, once the screen shows s1's black border there.
    Form2* overlayAt(QPoint position)
    {
        Form2* overlay = loader.overlay().value();
        overlay->move(position);
        const QWidget* s1 = overlay->findChild<QWidget*>(QStringLiteral("s1"));
        // A window manager may still place it after it first shows: the border must stay a while.
        QElapsedTimer steady;
        EXPECT_TRUE(QTest::qWaitFor([&] {
            const QRect corner(s1->mapToGlobal(QPoint(0, 0)), QSize(1, 1));
            const bool shown = overlay->geometry().topLeft() == position
                && (screen.grab(corner)->pixel(0, 0) & 0xFFFFFF) == 0;
            if (!shown)
                steady.invalidate();
            else if (!steady.isValid())
                steady.start();
            return shown && steady.elapsed() >= 150;
        })) << "the overlay never showed at "
            << position.x() << "," << position.y();
        return overlay;
    }

    // Empty when the screen over s1 shows its border and hatch and, everywhere else, the desktop.
    std::string differenceFromS1Look(QWidget* overlay)
    {
        const QWidget* s1 = overlay->findChild<QWidget*>(QStringLiteral("s1"));
        const QRect onScreen(s1->mapToGlobal(QPoint(0, 0)), s1->size());
        QImage expected = selectionFrameImage(s1->size(), true);
        for (int y = 0; y < expected.height(); ++y)
            for (int x = 0; x < expected.width(); ++x)
                if ((expected.pixel(x, y) | 0xFF000000) == kTransparencyKey)
                    expected.setPixel(x, y, desktop().pixel(onScreen.topLeft() + QPoint(x, y)));
        return testsupport::differenceBetween(screen.grab(onScreen).value(), expected).toStdString();
    }
};

} // namespace

TEST_F(OverlayOnScreen, InsideS1OnlyTheHatchAndBorderCoverAndTheGrabIsExactlyTheScreenThere)
{
    Form2* overlay = overlayAt({300, 200});
    ASSERT_TRUE(overlay->isShaped());
    EXPECT_EQ(differenceFromS1Look(overlay), "");
    // Between s1 and our frame the client area is red, so see-through too.
    const QPoint margin = overlay->findChild<QWidget*>(QStringLiteral("s1"))->mapToGlobal(QPoint(-3, 40));
    EXPECT_EQ(screen.grab({margin, QSize(1, 1)})->pixel(0, 0), desktop().pixel(margin));

    overlay->GrabSelection();
    ASSERT_EQ(receiver.grabs.size(), 1u);
    const QRect inside(300 + 4 + 8 + 1, 200 + 4 + 16 + 1, 158, 132); // inside s1's border
    EXPECT_EQ(testsupport::differenceBetween(receiver.grabs.front(), desktop().copy(inside)), "");
    // Hatch and border come back on the screen afterwards.
    std::string difference;
    EXPECT_TRUE(QTest::qWaitFor([&] {
        difference = differenceFromS1Look(overlay);
        return difference.empty();
    })) << difference;
}

TEST_F(OverlayOnScreen, ClickInsideTheFrameReachesTheWindowBelow)
{
    struct Below : QWidget {
        std::vector<QPoint> presses;
        void mousePressEvent(QMouseEvent* event) override
        {
            presses.push_back(event->globalPosition().toPoint());
        }
    } below;
    below.setGeometry(250, 150, 400, 400);
    below.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&below));
    Form2* overlay = overlayAt({300, 200});
    const QWidget* s1 = overlay->findChild<QWidget*>(QStringLiteral("s1"));

    // A see-through pixel of s1 (off the hatch lines), and one on its border as the control.
    const QImage look = selectionFrameImage(s1->size(), true);
    QPoint clear(40, 40);
    while ((look.pixel(clear) | 0xFF000000) != kTransparencyKey)
        clear += QPoint(1, 0);
    const QPoint throughS1 = s1->mapToGlobal(clear);
    const QPoint onBorder = s1->mapToGlobal(QPoint(0, 60));

    pointerClick(onBorder);
    pointerClick(throughS1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !below.presses.empty(); }));
    QTest::qWait(100);
    EXPECT_EQ(below.presses, std::vector<QPoint>{throughS1}); // the border click stayed with the overlay
}
