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
    f.window.showMinimized();
    f.trigger("mnuSelectArea");
    ASSERT_TRUE(f.window.OverlayLoaded());
    EXPECT_TRUE(f.window.overlay()->isVisible());

    f.window.overlay()->GrabSelection();
    EXPECT_FALSE(f.window.isMinimized());
    EXPECT_EQ(f.view()->size(), QSize(158, 132));

    // closing the main window unloads the overlay too
    f.window.close();
    QCoreApplication::processEvents();
    EXPECT_FALSE(f.window.OverlayLoaded());
}

TEST(AreaGrab, DefinedSizeGivesAGrabOfThatManyPixels)
{
    MainWindowFixture f(coordinatePattern(1920, 1080));
    QTimer::singleShot(0, [] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        dialog->findChild<QLineEdit*>("Text2")->setText("60px");
        dialog->findChild<QPushButton*>("Command1")->click();
    });
    f.trigger("mnuDefinedSize");
    // the overlay's resize rule grabs half a second after the resize
    ASSERT_TRUE(QTest::qWaitFor([&] { return f.state().grabCopy().hasPicture(); }, 3000));
    EXPECT_EQ(f.state().view().picture().size(), QSize(100, 60));
    EXPECT_EQ(f.window.windowTitle(), "Quorvex7 - (100x60)");
}
