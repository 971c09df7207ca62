#include "capture/overlay_loader.h"
#include "capture/selection_overlay.h"
#include "overlay_test_support.h"

#include "fakes.h"
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

    void SetUp() override { overlay.load(); }
};

} // namespace

TEST_F(OverlayWidget, GrabsDuringAGrabAndClosingDuringItAreSafe)
{
    // A request that arrives while a grab runs (here from inside the hand-over) adds no grab.
    receiver.duringGrab = [this] { overlay.GrabSelection(); };
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

TEST_F(OverlayWidget, Label2MovesTheFrameWithAnyButton)
{
    overlay.move(300, 200);
    const QSize size = overlay.size();
    drag(overlay.findChild<QWidget*>(QStringLiteral("Label2")), {50, 5}, {-120, 35}, Qt::RightButton);
    EXPECT_EQ(overlay.geometry(), QRect(QPoint(180, 235), size));
}

// A grab that was due when the overlay closed never happens; the next use loads a new overlay.
TEST(OverlayLoader, LoadsCentredOnFirstUseCloseUnloadsItAndTheNextUseLoadsAgain)
{
    testsupport::FakeScreen screen;
    RecordingReceiver receiver;
    OverlayLoader loader(screen, receiver, k96Dpi);
    QPointer<Form2> first = loader.overlay();
    ASSERT_TRUE(first);
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(first->geometry().center(), QGuiApplication::primaryScreen()->geometry().center());
    first->resize(300, 300); // a grab is due in 500 ms
    QTest::mouseClick(first->findChild<QPushButton*>(QStringLiteral("xButton")), Qt::LeftButton);
    EXPECT_FALSE(loader.overlayLoaded());
    QTest::qWait(700);
    EXPECT_TRUE(receiver.grabs.empty());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull()); // a closed overlay deletes itself
    ASSERT_TRUE(loader.overlay());
    EXPECT_TRUE(loader.overlayLoaded());
}
