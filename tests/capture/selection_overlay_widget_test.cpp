#include "capture/overlay_loader.h"
#include "capture/selection_overlay.h"
#include "overlay_test_support.h"

#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <gtest/gtest.h>

using namespace quorvex;
using overlaytest::PatternScreen;
using overlaytest::RecordingReceiver;
using overlaytest::waitUntil;

namespace {

constexpr Twips k96Dpi{15, 15};

QWidget* child(QWidget& overlay, const char* name)
{
    auto* widget = overlay.findChild<QWidget*>(QLatin1String(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

void sendMouse(
    QWidget* target, QEvent::Type type, QPoint global, Qt::MouseButton button, Qt::MouseButtons held)
{
    QMouseEvent event(type, target->mapFromGlobal(global), global, button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &event);
}

// Press at `from` on `target`, move by `delta`, release: global positions, as a real drag.
void drag(QWidget* target, QPoint from, QPoint delta)
{
    const QPoint start = target->mapToGlobal(from);
    sendMouse(target, QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
    sendMouse(target, QEvent::MouseMove, start + delta / 2, Qt::NoButton, Qt::LeftButton);
    sendMouse(target, QEvent::MouseMove, start + delta, Qt::NoButton, Qt::LeftButton);
    sendMouse(target, QEvent::MouseButtonRelease, start + delta, Qt::LeftButton, Qt::NoButton);
}

class OverlayWidget : public testing::Test {
protected:
    PatternScreen screen;
    RecordingReceiver receiver;
    Form2 overlay{screen, receiver, k96Dpi};

    void SetUp() override
    {
        receiver.hatchProbe = [this] { return overlay.hatchAndBorderVisible(); };
    }
};

} // namespace

TEST_F(OverlayWidget, LoadsCentredAsDesigned)
{
    EXPECT_FALSE(overlay.overlayLoaded());
    overlay.load();
    EXPECT_TRUE(overlay.overlayLoaded());
    EXPECT_TRUE(overlay.isVisible());

    const Qt::WindowFlags flags = overlay.windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::Tool);

    const QRect screenArea = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(overlay.size(), QSize(186, 166)); // 178 x 158 inside a 4-pixel frame
    EXPECT_EQ(overlay.geometry().center(), screenArea.center());
    EXPECT_EQ(child(overlay, "clientArea")->geometry(), QRect(4, 4, 178, 158));
    EXPECT_EQ(child(overlay, "s1")->geometry(), QRect(8, 16, 160, 134));
    EXPECT_EQ(child(overlay, "Label2")->geometry(), QRect(0, 0, 186, 10));
    auto* xButton = overlay.findChild<QPushButton*>(QStringLiteral("xButton"));
    ASSERT_NE(xButton, nullptr);
    EXPECT_EQ(xButton->geometry(), QRect(152, -3, 27, 18));
    EXPECT_EQ(xButton->text(), "x");
    EXPECT_TRUE(xButton->font().bold());
    EXPECT_EQ(xButton->cursor().shape(), Qt::PointingHandCursor);

    EXPECT_FALSE(overlay.isShaped()); // no shaping offscreen: the red back shows
    EXPECT_TRUE(overlay.mask().isEmpty());
    EXPECT_TRUE(overlay.findChild<QTimer*>(QStringLiteral("tmrMove"))->isActive());
    EXPECT_FALSE(overlay.findChild<QTimer*>(QStringLiteral("Timer1"))->isActive());
    EXPECT_TRUE(receiver.grabs.empty());
}

TEST_F(OverlayWidget, WorkedExampleGrabsInsideS1IntoTheReceiver)
{
    overlay.load();
    overlay.move(200, 100); // 3000, 1500 twips
    overlay.GrabSelection();

    ASSERT_EQ(receiver.grabs.size(), 1u);
    const auto& grab = receiver.grabs.front();
    EXPECT_EQ(screen.reads, (std::vector<QRect>{{213, 121, 158, 132}}));
    EXPECT_EQ(testsupport::differenceBetween(grab.picture, screen.pixels().copy(213, 121, 158, 132)), "");
    EXPECT_EQ(grab.geometry, (SelectionGrabGeometry{2370, 1980, 2400, 2010, 158.0f, 132.0f}));
    EXPECT_FALSE(grab.hatchVisibleDuringCall);
    EXPECT_TRUE(overlay.hatchAndBorderVisible());
}

TEST_F(OverlayWidget, GrabsDuringAGrabAndClosingDuringItAreSafe)
{
    overlay.load();
    // A request that arrives while a grab runs (here from inside the hand-over) adds no grab.
    receiver.hatchProbe = [this] {
        overlay.GrabSelection();
        return overlay.hatchAndBorderVisible();
    };
    overlay.GrabSelection();
    EXPECT_EQ(receiver.grabs.size(), 1u);
    EXPECT_TRUE(overlay.hatchAndBorderVisible());

    // Closed while the grab lets events run: nothing is grabbed, the frame looks as before.
    QTimer::singleShot(0, &overlay, &QWidget::close);
    overlay.GrabSelection();
    EXPECT_EQ(receiver.grabs.size(), 1u);
    EXPECT_FALSE(overlay.overlayLoaded());
    EXPECT_TRUE(overlay.hatchAndBorderVisible());
}

TEST_F(OverlayWidget, ResizeSnapsToMinimumControlsFollowAndAGrabFollows)
{
    overlay.load();
    auto* timer1 = overlay.findChild<QTimer*>(QStringLiteral("Timer1"));
    overlay.setWindowWidthTwips(0);
    overlay.setWindowHeightTwips(-600);
    EXPECT_EQ(overlay.size(), QSize(30, 40)); // 450 x 600 twips
    EXPECT_EQ(child(overlay, "s1")->geometry(), QRect(8, 16, 4, 8));
    EXPECT_EQ(child(overlay, "xButton")->x(), -4); // 450 - 510 twips
    EXPECT_EQ(child(overlay, "Label2")->width(), 30);
    EXPECT_TRUE(timer1->isActive());

    overlay.resize(400, 300);
    EXPECT_EQ(overlay.selectionWidthTwips(), (400 - 26) * 15);
    EXPECT_EQ(child(overlay, "s1")->geometry(), QRect(8, 16, 374, 268));
    EXPECT_EQ(child(overlay, "xButton")->x(), 400 - 34);
    ASSERT_TRUE(waitUntil([&] { return !receiver.grabs.empty(); }));
    EXPECT_EQ(receiver.grabs.size(), 1u); // one grab for the run of resizes
    EXPECT_EQ(receiver.grabs.front().picture.size(), QSize(372, 266));
}

TEST_F(OverlayWidget, HugeSizesStopAtTheVirtualScreen)
{
    overlay.load();
    overlay.setWindowWidthTwips(1e300);
    overlay.setWindowHeightTwips(std::numeric_limits<double>::infinity());
    EXPECT_EQ(overlay.size(), QGuiApplication::primaryScreen()->virtualSize());
}

TEST_F(OverlayWidget, CloseIsTheUnloadAndGrabsNothing)
{
    overlay.load();
    overlay.resize(300, 300); // a grab is due in 500 ms
    QTest::mouseClick(overlay.findChild<QPushButton*>(QStringLiteral("xButton")), Qt::LeftButton);
    EXPECT_FALSE(overlay.overlayLoaded());
    EXPECT_FALSE(overlay.isVisible());
    EXPECT_FALSE(overlay.findChild<QTimer*>(QStringLiteral("Timer1"))->isActive());
    EXPECT_FALSE(overlay.findChild<QTimer*>(QStringLiteral("tmrMove"))->isActive());
    QTest::qWait(700);
    EXPECT_TRUE(receiver.grabs.empty());
    overlay.GrabSelection(); // nothing to grab into once unloaded
    EXPECT_TRUE(receiver.grabs.empty());
}

TEST_F(OverlayWidget, FrameSizesFromEdgesAndCorners)
{
    overlay.load();
    overlay.move(300, 200);
    drag(&overlay, {185, 80}, {50, 0}); // right edge
    EXPECT_EQ(overlay.geometry(), QRect(300, 200, 236, 166));
    drag(&overlay, {1, 80}, {-40, 0}); // left edge: moves, right edge stays
    EXPECT_EQ(overlay.geometry(), QRect(260, 200, 276, 166));
    drag(&overlay, {0, 0}, {30, 20}); // top-left corner
    EXPECT_EQ(overlay.geometry(), QRect(290, 220, 246, 146));
    drag(&overlay, {100, 145}, {0, -500}); // bottom edge stops at the minimum
    EXPECT_EQ(overlay.geometry(), QRect(290, 220, 246, 40));
    EXPECT_EQ(child(overlay, "s1")->size(), QSize(246 - 26, 40 - 32));
    drag(&overlay, {100, 20}, {50, 50}); // inside the frame: not a sizing drag
    EXPECT_EQ(overlay.geometry(), QRect(290, 220, 246, 40));
}

TEST_F(OverlayWidget, Label2DragsTheWindowWithAnyButton)
{
    overlay.load();
    overlay.move(300, 200);
    QWidget* label2 = child(overlay, "Label2");
    drag(label2, {50, 5}, {-120, 35});
    EXPECT_EQ(overlay.pos(), QPoint(180, 235));

    const QPoint start = label2->mapToGlobal(QPoint(20, 5));
    sendMouse(label2, QEvent::MouseButtonPress, start, Qt::RightButton, Qt::RightButton);
    sendMouse(label2, QEvent::MouseMove, start + QPoint(10, 10), Qt::NoButton, Qt::RightButton);
    sendMouse(label2, QEvent::MouseButtonRelease, start + QPoint(10, 10), Qt::RightButton, Qt::NoButton);
    EXPECT_EQ(overlay.pos(), QPoint(190, 245));
    sendMouse(label2, QEvent::MouseMove, start + QPoint(90, 90), Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(overlay.pos(), QPoint(190, 245)); // released: no longer follows
    EXPECT_EQ(overlay.size(), QSize(186, 166));
}

TEST(OverlayLoader, LoadsOnFirstUseAndAgainAfterClose)
{
    PatternScreen screen;
    RecordingReceiver receiver;
    OverlayLoader loader(screen, receiver, k96Dpi);
    EXPECT_FALSE(loader.overlayLoaded());

    QPointer<Form2> first = loader.overlay();
    ASSERT_TRUE(first);
    EXPECT_TRUE(loader.overlayLoaded());
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(loader.overlay(), first.data());
    loader.showOverlay();
    EXPECT_EQ(loader.overlay(), first.data());

    QTest::mouseClick(first->findChild<QPushButton*>(QStringLiteral("xButton")), Qt::LeftButton);
    EXPECT_FALSE(loader.overlayLoaded());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull()); // a closed overlay deletes itself

    QPointer<Form2> second = loader.overlay();
    ASSERT_TRUE(second);
    EXPECT_TRUE(second->overlayLoaded());
    loader.unloadOverlay(); // the main window's close
    EXPECT_FALSE(loader.overlayLoaded());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(second.isNull());
    EXPECT_TRUE(receiver.grabs.empty());
}
