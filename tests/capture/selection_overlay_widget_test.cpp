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
    EXPECT_EQ(overlay.geometry().center(), QGuiApplication::primaryScreen()->geometry().center());
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

TEST_F(OverlayWidget, ResizeSnapsToTheMinimumAndOneGrabFollowsARunOfResizes)
{
    overlay.setWindowWidthTwips(0);
    overlay.setWindowHeightTwips(-600);
    EXPECT_EQ(overlay.size(), QSize(30, 40)); // 450 x 600 twips
    overlay.resize(400, 300);
    overlay.resize(300, 200);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !receiver.grabs.empty(); }));
    EXPECT_EQ(receiver.grabs.size(), 1u);
    EXPECT_EQ(receiver.grabs.front().picture.size(), QSize(272, 166));
}

TEST_F(OverlayWidget, CloseIsTheUnloadAndGrabsNothing)
{
    overlay.resize(300, 300); // a grab is due in 500 ms
    QTest::mouseClick(overlay.findChild<QPushButton*>(QStringLiteral("xButton")), Qt::LeftButton);
    EXPECT_FALSE(overlay.overlayLoaded());
    QTest::qWait(700);
    overlay.GrabSelection(); // nothing to grab into once unloaded
    EXPECT_TRUE(receiver.grabs.empty());
}

TEST_F(OverlayWidget, TheFrameSizesAndLabel2MovesWithAnyButton)
{
    overlay.move(300, 200);
    drag(&overlay, {185, 80}, {50, 0}); // right edge
    EXPECT_EQ(overlay.geometry(), QRect(300, 200, 236, 166));

    auto* label2 = overlay.findChild<QWidget*>(QStringLiteral("Label2"));
    drag(label2, {50, 5}, {-120, 35}, Qt::RightButton);
    EXPECT_EQ(overlay.geometry(), QRect(180, 235, 236, 166));
}

TEST(OverlayLoader, LoadsOnFirstUseAndAgainAfterClose)
{
    testsupport::FakeScreen screen;
    RecordingReceiver receiver;
    OverlayLoader loader(screen, receiver, k96Dpi);
    QPointer<Form2> first = loader.overlay();
    ASSERT_TRUE(first);
    EXPECT_TRUE(first->isVisible());
    QTest::mouseClick(first->findChild<QPushButton*>(QStringLiteral("xButton")), Qt::LeftButton);
    EXPECT_FALSE(loader.overlayLoaded());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull()); // a closed overlay deletes itself
    ASSERT_TRUE(loader.overlay());
    EXPECT_TRUE(loader.overlayLoaded());
}
