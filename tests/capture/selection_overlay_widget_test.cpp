#include "capture/defined_size_dialog.h"
#include "capture/overlay_loader.h"
#include "capture/qt_window_system.h"
#include "capture/selection_overlay.h"
#include "overlay_test_support.h"

#include "fakes.h"
#include "ui_helpers.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <optional>

using namespace quorvex;
using overlaytest::RecordingReceiver;
using testsupport::k96Dpi;

namespace {

// The overlay's loader on a fake screen, and the defined-size dialog that asks it for the overlay.
class Overlay : public testing::Test {
protected:
    testsupport::FakeScreen screen;
    QtOverlayWindowSystem unshaped;
    RecordingReceiver receiver;
    OverlayLoader loader{screen, unshaped, receiver, k96Dpi};
    int overlayRequests = 0;
    // Where Qt hears, while the dialog waits for a new frame to show, that the frame passes.
    std::optional<QPoint> passingPlace;
    Form3 dialog{[this] {
                     ++overlayRequests;
                     Form2* overlay = loader.overlay().value();
                     if (passingPlace)
                         QTimer::singleShot(
                             0, overlay, [overlay, place = *passingPlace] { overlay->move(place); });
                     return overlay;
                 },
        k96Dpi};

    QLineEdit* text(const char* name) { return dialog.findChild<QLineEdit*>(QLatin1String(name)); }
    QPushButton* button(const char* name) { return dialog.findChild<QPushButton*>(QLatin1String(name)); }

    void open()
    {
        dialog.show();
        QApplication::setActiveWindow(&dialog);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    }
};

} // namespace

TEST_F(Overlay, GrabsDuringAGrabAndClosingDuringItAreSafe)
{
    Form2 overlay(screen, unshaped, receiver, k96Dpi); // not the loader's: that one deletes itself on closing
    overlay.load();
    // A request that arrives while a grab runs (here from inside the hand-over) adds no grab.
    receiver.duringGrab = [&overlay] { overlay.GrabSelection(); };
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

// A grab that was due when the overlay closed never happens; the next use loads a new overlay.
TEST_F(Overlay, LoaderLoadsOnFirstUseCloseUnloadsItAndTheNextUseLoadsAgain)
{
    QPointer<Form2> first = loader.overlay().value();
    ASSERT_TRUE(first);
    first->resize(300, 300); // a grab is due in 500 ms
    QTest::mouseClick(first->findChild<QPushButton*>(QStringLiteral("xButton")), Qt::LeftButton);
    EXPECT_FALSE(loader.overlayLoaded());
    QTest::qWait(700);
    EXPECT_TRUE(receiver.grabs.empty());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull()); // a closed overlay deletes itself
    ASSERT_TRUE(loader.overlay().value());
    EXPECT_TRUE(loader.overlayLoaded());
}

// Text1 takes digits only; Cancel leaves the overlay alone; OK loads it or resizes it in place.
TEST_F(Overlay, DefinedSizeDialogLoadsOrResizesTheOverlayToGrabThatManyUpToTheScreen)
{
    const QPoint centred = Form2(screen, unshaped, receiver, k96Dpi).pos();
    passingPlace = QPoint(0, 0); // as openbox reports now and then while it places a new frame
    open();
    QLineEdit* text1 = text("Text1");
    text1->setCursorPosition(3);
    QTest::keyClicks(text1, "1a2 -3.4e+Z");
    EXPECT_EQ(text1->text(), "1001234");
    QTest::keyClick(text1, Qt::Key_Return); // Enter is discarded: the dialog stays
    EXPECT_TRUE(dialog.isVisible());

    QTest::mouseClick(button("Command2"), Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(overlayRequests, 0);
    EXPECT_FALSE(loader.overlayLoaded());
    open(); // every opening starts again from the design
    EXPECT_EQ(text1->text(), "100");

    QTest::mouseClick(button("Command1"), Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    ASSERT_TRUE(loader.overlayLoaded());
    Form2* overlay = loader.overlay().value();
    // 26 x 32 of frame, strip and margins around s1, whose border adds a pixel each side.
    EXPECT_EQ(overlay->size(), QSize(26 + 102, 32 + 102));
    EXPECT_EQ(overlay->pos(), centred);
    overlay->move(50, 60);
    open();
    text1->setText("99999999999999999999"); // the digits typed above go through its filter
    text("Text2")->setText("1e300");
    QTest::mouseClick(button("Command1"), Qt::LeftButton);
    EXPECT_EQ(loader.overlay().value(), overlay);
    // As large as the desktop allows from where it stands, which it keeps.
    EXPECT_EQ(overlay->geometry(),
        QRect(QGuiApplication::primaryScreen()->virtualGeometry()).adjusted(50, 60, 0, 0));
}

// Whatever part of the frame lies off the desktop, the grab holds only the desktop's pixels: the
// part of the frame's inside that lies on it.
TEST_F(Overlay, AGrabOfAFramePastTheDesktopsEdgeHoldsOnlyTheDesktop)
{
    Form2 overlay(screen, unshaped, receiver, k96Dpi);
    overlay.load();
    const QSize desktop = screen.pixels().size();
    // The inside of s1 starts 13, 21 from the window's corner and measures 158 x 132.
    const struct {
        QPoint window;
        QRect grabbed;
    } cases[] = {{{-100, -50}, QRect(0, 0, 158 - 87, 132 - 29)},
        {{desktop.width() - 60, desktop.height() - 40},
            QRect(desktop.width() - 47, desktop.height() - 19, 47, 19)},
        {{desktop.width() + 10, 0}, QRect()}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.window.x() << "," << c.window.y());
        overlay.move(c.window);
        receiver.grabs.clear();
        overlay.GrabSelection();
        if (c.grabbed.isEmpty()) {
            EXPECT_TRUE(receiver.grabs.empty());
            continue;
        }
        ASSERT_EQ(receiver.grabs.size(), 1u);
        EXPECT_EQ(
            testsupport::differenceBetween(receiver.grabs.front(), screen.pixels().copy(c.grabbed)), "");
    }
}
