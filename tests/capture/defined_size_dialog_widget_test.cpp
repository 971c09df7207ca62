#include "capture/defined_size_dialog.h"
#include "capture/overlay_loader.h"
#include "capture/selection_overlay.h"
#include "overlay_test_support.h"

#include "fakes.h"
#include "test_images.h"
#include "ui_helpers.h"

#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QInputMethodEvent>
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

    // Replaces Text1/Text2 by typing (Text1 is emptied with Backspace, which its filter lets through).
    void typeSize(const QString& width, const QString& height)
    {
        QLineEdit* text1 = text("Text1");
        text1->setCursorPosition(text1->text().size());
        while (!text1->text().isEmpty())
            QTest::keyClick(text1, Qt::Key_Backspace);
        QTest::keyClicks(text1, width);
        text("Text2")->setText(height);
    }

    void clickOk() { QTest::mouseClick(button("Command1"), Qt::LeftButton); }
};

} // namespace

TEST_F(DefinedSizeDialog, TabGoesText1Text2OkCancel)
{
    open();
    EXPECT_EQ(QApplication::focusWidget(), text("Text1"));
    const std::vector<QWidget*> order{text("Text2"), button("Command1"), button("Command2"), text("Text1")};
    for (QWidget* expected : order) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), expected) << expected->objectName().toStdString();
    }
}

TEST_F(DefinedSizeDialog, Text1TakesDigitsAndBackspaceOnlyText2AnyText)
{
    open();
    QLineEdit* text1 = text("Text1");
    text1->setCursorPosition(3);
    QTest::keyClicks(text1, "1a2 -3.4e+Z");
    EXPECT_EQ(text1->text(), "1001234");
    QTest::keyClick(text1, Qt::Key_Backspace);
    EXPECT_EQ(text1->text(), "100123");
    QTest::keyClick(text1, Qt::Key_Home); // keys that type nothing still work
    QTest::keyClick(text1, Qt::Key_Delete);
    QTest::keyClick(text1, '9');
    EXPECT_EQ(text1->text(), "900123");

    // The clipboard's ways in are shut, even for digits, as are the control characters.
    QGuiApplication::clipboard()->setText(QStringLiteral("56"));
    QTest::keyClick(text1, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(text1, Qt::Key_Insert, Qt::ShiftModifier);
    text1->selectAll();
    QTest::keyClick(text1, Qt::Key_X, Qt::ControlModifier);
    QTest::keyClick(text1, Qt::Key_Delete, Qt::ShiftModifier);
    QTest::keyClick(text1, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(text1->text(), "900123");
    text1->setCursorPosition(text1->text().size());
    EXPECT_EQ(text1->contextMenuPolicy(), Qt::NoContextMenu);
    EXPECT_FALSE(text1->acceptDrops());

    // Enter and Escape are discarded, there and on the buttons: the dialog stays.
    QTest::keyClick(text1, Qt::Key_Return);
    QTest::keyClick(text1, Qt::Key_Escape);
    button("Command1")->setFocus();
    QTest::keyClick(button("Command1"), Qt::Key_Escape);
    QTest::keyClick(button("Command1"), Qt::Key_Return);
    EXPECT_TRUE(dialog.isVisible());

    // Text committed by an input method meets the same rule.
    QInputMethodEvent letters(QString(), {});
    letters.setCommitString(QStringLiteral("x5"));
    QCoreApplication::sendEvent(text1, &letters);
    QInputMethodEvent digit(QString(), {});
    digit.setCommitString(QStringLiteral("7"));
    QCoreApplication::sendEvent(text1, &digit);
    EXPECT_EQ(text1->text(), "9001237");
    EXPECT_EQ(overlayRequests, 0);

    QLineEdit* text2 = text("Text2");
    text2->setCursorPosition(3);
    QTest::keyClicks(text2, "px -1");
    EXPECT_EQ(text2->text(), "100px -1");
}

TEST_F(DefinedSizeDialog, CancelAndCloseBoxUnloadWithoutTouchingTheOverlay)
{
    open();
    typeSize("7", "8");
    QTest::mouseClick(button("Command2"), Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(overlayRequests, 0);
    EXPECT_FALSE(loader.overlayLoaded());

    open(); // every opening starts again from the design
    EXPECT_EQ(text("Text1")->text(), "100");
    EXPECT_EQ(text("Text2")->text(), "100");
    typeSize("9", "9");
    dialog.close();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(overlayRequests, 0);
}

TEST_F(DefinedSizeDialog, OkLoadsTheOverlayAtTheSizeThatGrabsThoseMany)
{
    open();
    clickOk();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(overlayRequests, 1);
    ASSERT_TRUE(loader.overlayLoaded());
    Form2* overlay = loader.overlay();
    EXPECT_TRUE(overlay->isVisible());
    EXPECT_EQ(overlay->size(), QSize(26 + 102, 32 + 102)); // s1 102 x 102 pixels
    EXPECT_EQ(overlay->selectionWidthTwips(), 1530);

    ASSERT_TRUE(QTest::qWaitFor([&] { return !receiver.grabs.empty(); }));
    const auto& grab = receiver.grabs.front();
    const QPoint inside = overlay->geometry().topLeft() + QPoint(4 + 8 + 1, 4 + 16 + 1);
    EXPECT_EQ(
        testsupport::differenceBetween(grab.picture, screen.pixels().copy(QRect(inside, QSize(100, 100)))),
        "");
    EXPECT_EQ(grab.geometry, (SelectionGrabGeometry{1500, 1500, 1530, 1530, 100.0f, 100.0f}));
}

TEST_F(DefinedSizeDialog, OkResizesAnOpenOverlayInPlaceBetweenMinimumAndScreen)
{
    Form2* overlay = loader.overlay();
    overlay->move(50, 60);
    const struct {
        QString width;
        QString height;
        QSize window;
    } cases[] = {
        {"200", "50px", {26 + 202, 32 + 52}},
        {"0", "px", {30, 40}}, // the minimum: 450 x 600 twips
        {"99999999999999999999", "1e300", QGuiApplication::primaryScreen()->virtualSize()},
    };
    for (const auto& c : cases) {
        open();
        typeSize(c.width, c.height);
        clickOk();
        EXPECT_EQ(loader.overlay(), overlay);
        EXPECT_EQ(overlay->size(), c.window) << c.width.toStdString() << " " << c.height.toStdString();
    }
    EXPECT_EQ(overlay->pos(), QPoint(50, 60));
}
