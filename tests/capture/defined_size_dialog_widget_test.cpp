#include "capture/defined_size_dialog.h"
#include "capture/overlay_loader.h"
#include "capture/selection_overlay.h"
#include "overlay_test_support.h"

#include "fakes.h"
#include "ui_helpers.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

using namespace quorvex;
using overlaytest::RecordingReceiver;
using testsupport::k96Dpi;

namespace {

class DefinedSizeDialog : public testing::Test {
protected:
    testsupport::FakeScreen screen;
    RecordingReceiver receiver;
    OverlayLoader loader{screen, receiver, k96Dpi};
    int overlayRequests = 0;
    Form3 dialog{[this] {
                     ++overlayRequests;
                     return loader.overlay();
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

    void clickOk() { QTest::mouseClick(button("Command1"), Qt::LeftButton); }
};

} // namespace

TEST_F(DefinedSizeDialog, Text1TakesDigitsOnlyAndCancelLeavesTheOverlayAlone)
{
    open();
    QLineEdit* text1 = text("Text1");
    text1->setCursorPosition(3);
    QTest::keyClicks(text1, "1a2 -3.4e+Z");
    EXPECT_EQ(text1->text(), "1001234");
    QTest::keyClick(text1, Qt::Key_Return); // Enter is discarded: the dialog stays
    EXPECT_EQ(text1->text(), "1001234");
    EXPECT_TRUE(dialog.isVisible());

    QTest::mouseClick(button("Command2"), Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(overlayRequests, 0);
    EXPECT_FALSE(loader.overlayLoaded());
    open(); // every opening starts again from the design
    EXPECT_EQ(text1->text(), "100");
}

// 26 x 32 pixels of frame, strip and margins around s1, whose border adds one pixel each side.
TEST_F(DefinedSizeDialog, OkLoadsTheOverlayAtTheSizeThatGrabsThoseManyOrResizesItInPlaceUpToTheScreen)
{
    open();
    clickOk();
    EXPECT_FALSE(dialog.isVisible());
    ASSERT_TRUE(loader.overlayLoaded());
    Form2* overlay = loader.overlay();
    EXPECT_EQ(overlay->size(), QSize(26 + 102, 32 + 102));
    overlay->move(50, 60);
    open();
    text("Text1")->setText("99999999999999999999"); // the digits typed above go through its filter
    text("Text2")->setText("1e300");
    clickOk();
    EXPECT_EQ(loader.overlay(), overlay);
    EXPECT_EQ(overlay->size(), QGuiApplication::primaryScreen()->virtualSize());
    EXPECT_EQ(overlay->pos(), QPoint(50, 60));
}
