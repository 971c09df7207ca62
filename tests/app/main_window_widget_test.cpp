#include "app/about_box.h"
#include "app/picture_view.h"
#include "app/toolbar.h"
#include "app/twips_layout.h"
#include "app_fixture.h"

#include <QElapsedTimer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace quorvex;
using namespace testsupport;

TEST(MainWindow, ToolbarFollowsTheWindowWidth)
{
    MainWindowFixture f;
    f.window.resize(800, f.window.height());
    QCoreApplication::processEvents();
    // the outer width (offscreen frames add 2 px a side: 804 px, 12060 twips) less 140 twips is
    // 794.67 px; the status strip spans the client area
    EXPECT_EQ(f.window.Frame2->width(), 795);
    EXPECT_EQ(f.window.Picture2->geometry(), QRect(0, f.window.surface()->height() - 17, 800, 17));
}

TEST(MainWindow, AboutBoxShowsAndItsButtonHidesIt)
{
    MainWindowFixture f;
    QTest::mouseClick(f.window.Frame2->Image6, Qt::LeftButton);
    ASSERT_TRUE(f.window.Frame1->isVisible());
    EXPECT_EQ(f.window.Frame1->geometry(), QRect(24, 40, 465, 149));
    EXPECT_EQ(f.window.Frame1->Label1->text(), "Quorvex7 for Windows XP, Vista and Windows 7");
    EXPECT_EQ(f.window.Frame1->Label4->text(), "Version 7.1");
    EXPECT_EQ(f.window.Frame1->Label18->text(), "Like Quorvex7 ?");
    EXPECT_EQ(f.window.Frame1->Command1->text(), "X");

    QTest::mouseClick(f.window.Frame1->Label18, Qt::LeftButton);
    ASSERT_EQ(f.urls.opened.size(), 1u);
    EXPECT_EQ(f.urls.opened[0], kOptionsPageUrl);
    EXPECT_TRUE(kOptionsPageUrl.path().endsWith("/options.html"));
    EXPECT_TRUE(kOptionsPageUrl.query().isEmpty());

    QTest::mouseClick(f.window.Frame1->Command1, Qt::LeftButton);
    EXPECT_FALSE(f.window.Frame1->isVisible());
}

TEST(MainWindow, BackgroundsChangeOnlyTheWindowColour)
{
    MainWindowFixture f;
    for (const auto& [entry, colour] :
        {std::pair{"munBackDark", QColor(128, 128, 128)}, std::pair{"mnuBackLight", QColor(224, 224, 224)},
            std::pair{"mnuBackWhite", QColor(255, 255, 255)}}) {
        f.trigger(entry);
        EXPECT_EQ(f.window.background(), colour) << entry;
        EXPECT_EQ(f.window.pictures().pic1.backColor(), QColor(Qt::white));
    }
}

TEST(MainWindow, WholeScreenGrabJustBeforeMidnightWaitsOnTheMonotonicClockAndFillsTheView)
{
    MainWindowFixture f;
    // 86399.6 rounds to 86400, so the wait lasts until 86401. This clock stands still and the wall
    // clock wraps to 0 first: a wait that read either again would not end, one measured on a
    // monotonic clock ends 1.4 s later. Events run meanwhile.
    f.clock.reading = 86399.6;
    bool eventsRan = false;
    QTimer::singleShot(0, [&] { eventsRan = true; });
    QElapsedTimer monotonic;
    monotonic.start();
    f.trigger("mnuWholeScreen");
    EXPECT_GE(monotonic.elapsed(), 1400);
    EXPECT_TRUE(eventsRan);
    const PictureViewState& s = f.window.pictures();
    EXPECT_EQ(QSize(s.GrabWidth, s.GrabHeight), QSize(15360, 11520));
    for (const PictureBox* box : {&s.pic1, &s.pSize, &s.pb})
        EXPECT_EQ(differenceBetween(box->picture(), f.screen.pixels()), QString());
    EXPECT_TRUE(f.window.pic1->isVisible());
    EXPECT_EQ(f.window.pic1->pos(), QPoint(16, 40));
    EXPECT_EQ(f.window.windowTitle(), "Quorvex7");
    EXPECT_FALSE(f.window.isMinimized());
}

TEST(MainWindow, AnUnreadableScreenIsSaidOnceForEachGrabAndNothingIsGrabbed)
{
    MainWindowFixture f;
    f.screen.unreadable = "this screen's pixel format (depth 8, PseudoColor) cannot be read";
    for (const char* entry : {"mnuWholeScreen", "mnuSelectArea", "mnuDefinedSize"})
        f.trigger(entry);
    EXPECT_EQ(f.messages.shown,
        QList<Message>(3,
            {"This screen's pixel format (depth 8, PseudoColor) cannot be read.", MessageIcon::Exclamation}));
    EXPECT_TRUE(f.screen.reads.empty());
    EXPECT_FALSE(f.window.OverlayLoaded());
    EXPECT_FALSE(f.window.pictures().pic1.hasPicture());
}

TEST(MainWindow, ZoomResetAndClearThroughTheMenus)
{
    MainWindowFixture f(coordinatePattern(200, 100));
    f.trigger("mnuZoom100"); // nothing to zoom or reset yet
    f.trigger("mnuZoomNormal");
    EXPECT_EQ(f.window.windowTitle(), "Quorvex7");

    f.window.GrabWholeScreen();
    f.trigger("mnuZoom100"); // the held copy is the 200 x 100 inside the edge
    EXPECT_EQ(f.window.pic1->geometry(), QRect(16, 40, 400, 200));
    EXPECT_EQ(f.window.windowTitle(), "Quorvex7 - (400x200)");
    QTest::mouseClick(f.window.Frame2->Image4, Qt::LeftButton);
    EXPECT_FALSE(f.window.pic1->isVisible());
    EXPECT_FALSE(f.window.pictures().pic1.hasPicture());
    EXPECT_TRUE(f.window.pictures().pSize.hasPicture()) << "Clear leaves the held copy";
    EXPECT_EQ(f.window.windowTitle(), "Quorvex7 - (400x200)") << "Clear leaves the title";
    f.trigger("mnuZoomNormal");
    EXPECT_FALSE(f.window.pic1->isVisible()) << "Reset after Clear keeps the view hidden";
    EXPECT_EQ(f.window.windowTitle(), "Quorvex7 - (204x104)");
    EXPECT_TRUE(f.messages.shown.empty());
}

TEST(MainWindow, RefusedZoomSaysSoAndKeepsThePicture)
{
    MainWindowFixture f(coordinatePattern(2, 2));
    f.window.GrabWholeScreen();
    f.trigger("mnuMinus50"); // 1 px outside: nothing left inside the 2-pixel edge
    EXPECT_EQ(f.window.windowTitle(), "Quorvex7");
    ASSERT_EQ(f.messages.shown.size(), 1);
    EXPECT_EQ(f.messages.shown[0].caption, "Quorvex7");
    EXPECT_EQ(differenceBetween(f.window.pictures().pic1.picture(), f.screen.pixels()), QString());
}

TEST(MainWindow, PanningFollowsThePointerWithAnyButtonAndNoBound)
{
    MainWindowFixture f(coordinatePattern(100, 80));
    f.window.GrabWholeScreen();
    PictureView* view = f.window.pic1;
    const struct {
        Qt::MouseButton button;
        QPoint to; // from a press at 10, 10
    } drags[] = {{Qt::LeftButton, {40, 30}}, {Qt::RightButton, {10, 10}}, {Qt::MiddleButton, {-1990, -1490}}};
    for (const auto& d : drags) {
        const QPoint before = view->pos();
        sendMouse(view, QEvent::MouseButtonPress, {10, 10}, d.button, d.button);
        sendMouse(view, QEvent::MouseMove, d.to, Qt::NoButton, d.button);
        sendMouse(view, QEvent::MouseButtonRelease, d.to, d.button, Qt::NoButton);
        EXPECT_EQ(view->pos(), before + d.to - QPoint(10, 10)) << d.button;
    }
    // moves without a button held do not drag, and hide the tips box
    const QPoint before = view->pos();
    f.window.Frame2->frmTips->show();
    sendMouse(view, QEvent::MouseMove, {50, 50}, Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(view->pos(), before);
    EXPECT_FALSE(f.window.Frame2->frmTips->isVisible());
}

TEST(MainWindow, ExitIconAndExitEntryCloseTheWindowButTheLabelDoesNot)
{
    MainWindowFixture f;
    QTest::mouseClick(f.window.Frame2->Label15, Qt::LeftButton);
    EXPECT_TRUE(f.window.isVisible());
    QTest::mouseClick(f.window.Frame2->Image1, Qt::LeftButton);
    EXPECT_FALSE(f.window.isVisible());

    MainWindowFixture g;
    g.trigger("mnuExit");
    EXPECT_FALSE(g.window.isVisible());
}
