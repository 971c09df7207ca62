#include "capture/overlay_loader.h"
#include "capture/selection_overlay.h"
#include "overlay_test_support.h"

#include "fakes.h"
#include "test_images.h"
#include "ui_helpers.h"

#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace quorvex;
using overlaytest::RecordingReceiver;
using testsupport::k96Dpi;
using testsupport::sendMouse;

namespace {

QWidget* child(QWidget& overlay, const char* name)
{
    auto* widget = overlay.findChild<QWidget*>(QLatin1String(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

// Press at `from` on `target`, move by `delta` in two steps, release, as a real drag: the events
// keep their screen positions while the window moves under them.
void drag(QWidget* target, QPoint from, QPoint delta, Qt::MouseButton button = Qt::LeftButton)
{
    const QPoint start = target->mapToGlobal(from);
    auto at = [&](QPoint global) { return target->mapFromGlobal(global); };
    sendMouse(target, QEvent::MouseButtonPress, at(start), button, button);
    sendMouse(target, QEvent::MouseMove, at(start + delta / 2), Qt::NoButton, button);
    sendMouse(target, QEvent::MouseMove, at(start + delta), Qt::NoButton, button);
    sendMouse(target, QEvent::MouseButtonRelease, at(start + delta), button, Qt::NoButton);
}

class OverlayWidget : public testing::Test {
protected:
    testsupport::FakeScreen screen;
    RecordingReceiver receiver;
    Form2 overlay{screen, receiver, k96Dpi};

    void SetUp() override
    {
        receiver.hatchProbe = [this] { return overlay.hatchAndBorderVisible(); };
        overlay.load();
    }
};

} // namespace

TEST_F(OverlayWidget, LoadsCentredAndTheWorkedExampleGrabsInsideS1)
{
    EXPECT_TRUE(overlay.overlayLoaded());
    EXPECT_EQ(overlay.size(), QSize(186, 166)); // 178 x 158 inside a 4-pixel frame
    EXPECT_EQ(overlay.geometry().center(), QGuiApplication::primaryScreen()->geometry().center());
    EXPECT_TRUE(receiver.grabs.empty());

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

TEST_F(OverlayWidget, ResizeSnapsToMinimumControlsFollowAndOneGrabFollowsARunOfResizes)
{
    overlay.setWindowWidthTwips(0);
    overlay.setWindowHeightTwips(-600);
    EXPECT_EQ(overlay.size(), QSize(30, 40)); // 450 x 600 twips
    EXPECT_EQ(child(overlay, "s1")->geometry(), QRect(8, 16, 4, 8));
    EXPECT_EQ(child(overlay, "xButton")->x(), -4); // 450 - 510 twips

    overlay.resize(400, 300);
    EXPECT_EQ(child(overlay, "s1")->geometry(), QRect(8, 16, 374, 268));
    EXPECT_EQ(child(overlay, "xButton")->x(), 400 - 34);
    EXPECT_EQ(child(overlay, "Label2")->width(), 400);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !receiver.grabs.empty(); }));
    EXPECT_EQ(receiver.grabs.size(), 1u);
    EXPECT_EQ(receiver.grabs.front().picture.size(), QSize(372, 266));

    overlay.setWindowWidthTwips(1e300);
    overlay.setWindowHeightTwips(std::numeric_limits<double>::infinity());
    EXPECT_EQ(overlay.size(), QGuiApplication::primaryScreen()->virtualSize());
}

TEST_F(OverlayWidget, CloseIsTheUnloadAndGrabsNothing)
{
    overlay.resize(300, 300); // a grab is due in 500 ms
    QTest::mouseClick(overlay.findChild<QPushButton*>(QStringLiteral("xButton")), Qt::LeftButton);
    EXPECT_FALSE(overlay.overlayLoaded());
    EXPECT_FALSE(overlay.isVisible());
    QTest::qWait(700);
    overlay.GrabSelection(); // nothing to grab into once unloaded
    EXPECT_TRUE(receiver.grabs.empty());
}

TEST_F(OverlayWidget, TheFrameSizesAndLabel2MovesWithAnyButton)
{
    overlay.move(300, 200);
    drag(&overlay, {185, 80}, {50, 0}); // right edge
    EXPECT_EQ(overlay.geometry(), QRect(300, 200, 236, 166));
    drag(&overlay, {0, 0}, {30, 20}); // top-left corner: moves, the other edges stay
    EXPECT_EQ(overlay.geometry(), QRect(330, 220, 206, 146));
    drag(&overlay, {100, 20}, {50, 50}); // inside the frame: not a sizing drag
    EXPECT_EQ(overlay.geometry(), QRect(330, 220, 206, 146));

    QWidget* label2 = child(overlay, "Label2");
    drag(label2, {50, 5}, {-120, 35}, Qt::RightButton);
    EXPECT_EQ(overlay.geometry(), QRect(210, 255, 206, 146));
    sendMouse(label2, QEvent::MouseMove, {90, 90}, Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(overlay.pos(), QPoint(210, 255)); // released: no longer follows
}

TEST(OverlayLoader, LoadsOnFirstUseAndAgainAfterClose)
{
    testsupport::FakeScreen screen;
    RecordingReceiver receiver;
    OverlayLoader loader(screen, receiver, k96Dpi);
    EXPECT_FALSE(loader.overlayLoaded());

    QPointer<Form2> first = loader.overlay();
    ASSERT_TRUE(first);
    EXPECT_TRUE(first->isVisible());
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
}
