#include "app/picture_view.h"
#include "app_fixture.h"
#include "capture/selection_overlay.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace quorvex;
using namespace testsupport;

namespace {

QAction* action(Form1& window, const char* name)
{
    return window.findChild<QAction*>(QLatin1String(name));
}

} // namespace

TEST(AreaGrab, TheOverlaysGrabLandsInTheMainWindow)
{
    MainWindowFixture f(coordinatePattern(1920, 1080));
    EXPECT_FALSE(f.window.OverlayLoaded());
    action(f.window, "mnuSelectArea")->trigger();
    ASSERT_TRUE(f.window.OverlayLoaded());
    Form2* overlay = f.window.overlay();
    ASSERT_NE(overlay, nullptr);
    EXPECT_TRUE(overlay->isVisible());

    overlay->GrabSelection();
    const PictureViewState& s = f.window.pictures();
    const QImage expected = f.screen.pixels().copy(f.screen.reads.back());
    EXPECT_FALSE(s.pic1.hasBorder());
    for (const PictureBox* box : {&s.pic1, &s.pb, &s.pSize})
        EXPECT_EQ(differenceBetween(box->picture(), expected), QString());
    EXPECT_EQ(f.window.pic1->geometry(), QRect(QPoint(16, 40), expected.size()));
    EXPECT_EQ(f.window.windowTitle(),
        QStringLiteral("Quorvex7 - (%1x%2)").arg(expected.width()).arg(expected.height()));
    // the grab size includes the frame's 1-pixel border each way
    EXPECT_EQ(s.GrabWidth, (expected.width() + 2) * 15);
    EXPECT_EQ(s.GrabHeight, (expected.height() + 2) * 15);

    // closing the main window unloads the overlay too
    f.window.close();
    QCoreApplication::processEvents();
    EXPECT_FALSE(f.window.OverlayLoaded());
}

TEST(AreaGrab, TheToolbarLabelOpensTheOverlayAndXClosesIt)
{
    MainWindowFixture f(coordinatePattern(1920, 1080));
    QTest::mouseClick(f.window.findChild<QWidget*>("Label16"), Qt::LeftButton);
    ASSERT_TRUE(f.window.OverlayLoaded());
    auto* x = f.window.overlay()->findChild<QPushButton*>("xButton");
    ASSERT_NE(x, nullptr);
    x->click();
    QCoreApplication::processEvents();
    EXPECT_FALSE(f.window.OverlayLoaded());
    EXPECT_TRUE(f.window.isVisible()) << "the main window keeps running";
}

TEST(AreaGrab, DefinedSizeGivesAGrabOfThatManyPixels)
{
    MainWindowFixture f(coordinatePattern(1920, 1080));
    QTimer::singleShot(0, [] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle(), "Quorvex7");
        dialog->findChild<QLineEdit*>("Text2")->setText("60px");
        dialog->findChild<QPushButton*>("Command1")->click();
    });
    action(f.window, "mnuDefinedSize")->trigger();
    ASSERT_TRUE(f.window.OverlayLoaded());
    // the overlay's resize rule grabs half a second after the resize
    const bool grabbed = QTest::qWaitFor([&] { return f.window.pictures().pb.hasPicture(); }, 3000);
    ASSERT_TRUE(grabbed);
    EXPECT_EQ(f.window.pictures().pic1.picture().size(), QSize(100, 60));
    EXPECT_EQ(f.window.windowTitle(), "Quorvex7 - (100x60)");
}
