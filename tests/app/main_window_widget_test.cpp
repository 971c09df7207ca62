#include "app_fixture.h"

#include <QElapsedTimer>
#include <QMenu>
#include <QSignalSpy>
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
    EXPECT_EQ(f.control("Frame2")->width(), 795);
    EXPECT_EQ(f.control("Picture2")->geometry(), QRect(0, f.surface()->height() - 17, 800, 17));
}

// A command exists once: the toolbar item shows its action's tip and enabled state and triggers it,
// and the menu shows that same action.
TEST(MainWindow, ToolbarItemsAndMenuEntriesShareOneActionPerCommand)
{
    MainWindowFixture f;
    const struct {
        const char* item;
        const char* action;
        const char* tip;
        bool inMenu;
    } items[] = {{"Image2", "mnuSaveAs", "Save the grabbed image", true},
        {"Label16", "mnuSelectArea", "Grab a selected area", true},
        {"Label17", "mnuWholeScreen", "Grab the whole screen/display", true},
        {"Image4", "Clear", "Clear the picture window", false}, {"Image7", "mnuRotate90", "", true},
        {"Image6", "About", "About", false}, {"Image1", "mnuExit", "Exit/Close Quorvex", true}};
    QTest::mouseClick(f.control("Label15"), Qt::LeftButton);
    EXPECT_TRUE(f.window.isVisible()) << "the Exit label is no item";
    for (const auto& i : items) {
        SCOPED_TRACE(i.item);
        QWidget* item = f.control(i.item);
        auto* action = f.control<QAction>(i.action);
        EXPECT_EQ(item->toolTip(), i.tip);
        EXPECT_EQ(action->associatedObjects().size(), i.inMenu ? 1 : 0);
        QSignalSpy triggered(action, &QAction::triggered);
        QTest::mouseClick(item, Qt::LeftButton);
        EXPECT_EQ(triggered.size(), 1);
        action->setEnabled(false);
        EXPECT_FALSE(item->isEnabled());
        action->setEnabled(true);
    }
    EXPECT_FALSE(f.window.isVisible()) << "the Exit icon closes the window";
    for (const char* greyed : {"mnuActiveWindow", "mnuZoomCustom"})
        EXPECT_FALSE(f.control<QAction>(greyed)->isEnabled()) << greyed;
}

TEST(MainWindow, AboutBoxLinksToTheOptionsPageAndItsButtonHidesIt)
{
    MainWindowFixture f;
    f.trigger("About");
    QWidget* box = f.control("Frame1");
    ASSERT_TRUE(box->isVisible());
    QTest::mouseClick(f.control("Label18"), Qt::LeftButton);
    ASSERT_EQ(f.urls.opened.size(), 1u);
    EXPECT_EQ(f.urls.opened[0].fileName(), "options.html");
    QTest::mouseClick(f.control("Command1"), Qt::LeftButton);
    EXPECT_FALSE(box->isVisible());
}

TEST(MainWindow, BackgroundsChangeOnlyTheWindowColour)
{
    MainWindowFixture f;
    const std::pair<const char*, int> greys[]
        = {{"munBackDark", 128}, {"mnuBackLight", 224}, {"mnuBackWhite", 255}};
    for (const auto& [entry, grey] : greys) {
        f.trigger(entry);
        EXPECT_EQ(f.window.background(), QColor(grey, grey, grey)) << entry;
        EXPECT_EQ(f.state().view().backColor(), QColor(Qt::white));
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
    const PictureViewState& s = f.state();
    EXPECT_EQ(QSize(s.grabWidth(), s.grabHeight()), QSize(15360, 11520));
    EXPECT_EQ(differenceBetween(s.heldCopy().picture(), f.screen.pixels()), QString());
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
    EXPECT_FALSE(f.state().view().hasPicture());

    // A source that fails only when read (a portal that refuses): said after, pic1 as it was.
    MainWindowFixture refused;
    refused.screen.failure = "the desktop portal refused the screenshot (cancelled)";
    const QRect before = refused.view()->geometry();
    refused.trigger("mnuWholeScreen");
    EXPECT_EQ(refused.messages.shown,
        QList<Message>(
            {{"The desktop portal refused the screenshot (cancelled).", MessageIcon::Exclamation}}));
    EXPECT_FALSE(refused.state().view().hasPicture());
    EXPECT_EQ(refused.view()->geometry(), before);
    EXPECT_TRUE(refused.window.isVisible()) << "the window comes back";
}

TEST(MainWindow, ZoomResetAndClearThroughTheMenusAndTheirRefusal)
{
    MainWindowFixture f(coordinatePattern(200, 100));
    f.trigger("mnuZoom100"); // nothing to zoom or reset yet
    f.trigger("mnuZoomNormal");
    EXPECT_EQ(f.window.windowTitle(), "Quorvex7");

    f.window.GrabWholeScreen();
    f.trigger("mnuZoom100"); // the held copy is the 200 x 100 inside the edge
    EXPECT_EQ(f.view()->geometry(), QRect(16, 40, 400, 200));
    EXPECT_EQ(f.window.windowTitle(), "Quorvex7 - (400x200)");
    f.trigger("Clear");
    EXPECT_FALSE(f.view()->isVisible());
    EXPECT_FALSE(f.state().view().hasPicture());
    EXPECT_TRUE(f.state().heldCopy().hasPicture()) << "Clear leaves the held copy";
    EXPECT_EQ(f.window.windowTitle(), "Quorvex7 - (400x200)") << "Clear leaves the title";
    f.trigger("mnuZoomNormal");
    EXPECT_FALSE(f.view()->isVisible()) << "Reset after Clear keeps the view hidden";
    EXPECT_EQ(f.window.windowTitle(), "Quorvex7 - (204x104)");
    EXPECT_TRUE(f.messages.shown.empty());

    MainWindowFixture tiny(coordinatePattern(2, 2));
    tiny.window.GrabWholeScreen();
    tiny.trigger("mnuMinus50"); // 1 px outside: nothing left inside the 2-pixel edge
    EXPECT_EQ(tiny.window.windowTitle(), "Quorvex7");
    ASSERT_EQ(tiny.messages.shown.size(), 1);
    EXPECT_EQ(tiny.messages.shown[0].caption, "Quorvex7");
    EXPECT_EQ(differenceBetween(tiny.state().view().picture(), tiny.screen.pixels()), QString());
}

TEST(MainWindow, PanningFollowsThePointerWithAnyButtonAndNoBound)
{
    MainWindowFixture f(coordinatePattern(100, 80));
    f.window.GrabWholeScreen();
    QWidget* view = f.view();
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
    QWidget* tips = f.control("frmTips");
    tips->show();
    sendMouse(view, QEvent::MouseMove, {50, 50}, Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(view->pos(), before);
    EXPECT_FALSE(tips->isVisible());
}
