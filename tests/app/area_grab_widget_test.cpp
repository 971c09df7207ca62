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

TEST(AreaGrab, TheOverlaysGrabLandsInTheMainWindow)
{
    MainWindowFixture f(coordinatePattern(1920, 1080));
    EXPECT_FALSE(f.window.OverlayLoaded());
    f.trigger("mnuSelectArea");
    ASSERT_TRUE(f.window.OverlayLoaded());
    EXPECT_TRUE(f.window.overlay()->isVisible());

    f.window.overlay()->GrabSelection();
    const PictureViewState& s = f.window.pictures();
    const QImage expected = f.screen.pixels().copy(f.screen.reads.back());
    EXPECT_FALSE(s.pic1.hasBorder());
    for (const PictureBox* box : {&s.pic1, &s.pb, &s.pSize})
        EXPECT_EQ(differenceBetween(box->picture(), expected), QString());
    EXPECT_EQ(f.window.pic1->geometry(), QRect(16, 40, 158, 132));
    EXPECT_EQ(f.window.windowTitle(), "Quorvex7 - (158x132)");
    // the grab size includes the frame's 1-pixel border each way
    EXPECT_EQ(QSize(s.GrabWidth, s.GrabHeight), QSize(160 * 15, 134 * 15));

    // closing the main window unloads the overlay too
    f.window.close();
    QCoreApplication::processEvents();
    EXPECT_FALSE(f.window.OverlayLoaded());
}

TEST(AreaGrab, TheToolbarLabelOpensTheOverlayAndDefinedSizeGivesAGrabOfThatManyPixels)
{
    MainWindowFixture f(coordinatePattern(1920, 1080));
    QTest::mouseClick(f.window.findChild<QWidget*>("Label16"), Qt::LeftButton);
    ASSERT_TRUE(f.window.OverlayLoaded());
    QTimer::singleShot(0, [] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        dialog->findChild<QLineEdit*>("Text2")->setText("60px");
        dialog->findChild<QPushButton*>("Command1")->click();
    });
    f.trigger("mnuDefinedSize");
    // the overlay's resize rule grabs half a second after the resize
    ASSERT_TRUE(QTest::qWaitFor([&] { return f.window.pictures().pb.hasPicture(); }, 3000));
    EXPECT_EQ(f.window.pictures().pic1.picture().size(), QSize(100, 60));
    EXPECT_EQ(f.window.windowTitle(), "Quorvex7 - (100x60)");
}
