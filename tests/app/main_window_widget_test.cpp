#include "app/about_box.h"
#include "app/picture_view.h"
#include "app/toolbar.h"
#include "app/twips_layout.h"
#include "app_fixture.h"

#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace quorvex;
using namespace testsupport;

namespace {

// The menu tree as "caption" lines, nested entries indented by two blanks, "(off)" when greyed.
void describe(const QList<QAction*>& actions, int depth, QStringList& out)
{
    for (QAction* action : actions) {
        out << QString(depth * 2, QLatin1Char(' ')) + action->text() + (action->isEnabled() ? "" : " (off)");
        if (action->menu())
            describe(action->menu()->actions(), depth + 1, out);
    }
}

QAction* action(Form1& window, const char* name)
{
    auto* found = window.findChild<QAction*>(QLatin1String(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

} // namespace

TEST(MainWindow, MenuTreeHasItsCaptionsAndGreyedEntries)
{
    MainWindowFixture f;
    QStringList tree;
    describe(f.window.menuBar()->actions(), 0, tree);
    const QStringList expected = {"&File", "  Save &As", "  &Print", "    Print", "    Print (page size)",
        "  Save to Clipboard", "  E&xit", "&Grab", "  &Defined Size", "  &Select Area", "  &Whole Screen",
        "  &Active Window (off)", "&Image", "  Reset", "  &Zoom", "    -50%", "    -25%", "    25%",
        "    50%", "    100%", "    Custom (off)", "  Mirror/Flip", "    Vertical", "    Horizontal",
        "  Rotate", "    90", "    180", "    270", "Window", "  White Background", "  Light Background",
        "  Dark Background"};
    EXPECT_EQ(tree, expected);
    for (QAction* a : f.window.findChildren<QAction*>())
        EXPECT_TRUE(a->shortcut().isEmpty()) << a->text().toStdString();
}

TEST(MainWindow, StartsWithItsDesignedLayout)
{
    MainWindowFixture f;
    EXPECT_EQ(f.window.windowTitle(), "Quorvex7");
    EXPECT_EQ(f.window.surface()->size(), QSize(504, 352));
    EXPECT_EQ(f.window.background(), QColor(255, 255, 255));
    EXPECT_FALSE(f.window.pic1->isVisible());
    EXPECT_FALSE(f.window.Frame1->isVisible());
    EXPECT_FALSE(f.window.Frame2->frmTips->isVisible());
    EXPECT_EQ(f.window.Picture2->geometry(), QRect(0, 352 - 17, 504, 17));
    EXPECT_EQ(f.window.Frame2->geometry().topLeft(), QPoint(0, -5));
    EXPECT_FALSE(f.window.windowIcon().isNull());
    EXPECT_EQ(f.window.windowIcon().availableSizes().value(0), QSize(48, 48));
}

TEST(MainWindow, ToolbarItemsCarryTheirTipsAndPlaces)
{
    MainWindowFixture f;
    const Toolbar* bar = f.window.Frame2;
    const struct {
        QWidget* item;
        QString tip;
        QRect place;
    } items[] = {{bar->Image1, "Exit/Close Quorvex", {8, 11, 16, 16}}, {bar->Label15, "", {28, 13, 25, 17}},
        {bar->Image2, "Save the grabbed image", {63, 11, 16, 16}},
        {bar->Label16, "Grab a selected area", {96, 12, 17, 17}},
        {bar->Label17, "Grab the whole screen/display", {120, 12, 17, 17}},
        {bar->Image4, "Clear the picture window", {157, 13, 16, 16}}, {bar->Image7, "", {184, 13, 16, 16}},
        {bar->Image6, "About", {216, 7, 24, 24}}};
    for (const auto& i : items) {
        EXPECT_EQ(i.item->toolTip(), i.tip) << i.item->objectName().toStdString();
        EXPECT_EQ(i.item->geometry(), i.place) << i.item->objectName().toStdString();
        EXPECT_EQ(i.item->cursor().hotSpot(), QPoint(12, 1));
    }
}

TEST(MainWindow, ToolbarFollowsTheWindowWidth)
{
    MainWindowFixture f;
    f.window.resize(800, f.window.height());
    QCoreApplication::processEvents();
    // the outer width, frame included, less 140 twips
    const int outerTwips = f.window.frameGeometry().width() * 15;
    EXPECT_EQ(f.window.Frame2->width(), roundHalfEven((outerTwips - 140) / 15.0));
    EXPECT_GE(f.window.Frame2->width(), 790);
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
    const struct {
        const char* entry;
        QColor colour;
    } steps[] = {{"munBackDark", QColor(128, 128, 128)}, {"mnuBackLight", QColor(224, 224, 224)},
        {"mnuBackWhite", QColor(255, 255, 255)}};
    for (const auto& s : steps) {
        action(f.window, s.entry)->trigger();
        EXPECT_EQ(f.window.background(), s.colour) << s.entry;
        EXPECT_EQ(f.window.pictures().pic1.backColor(), QColor(Qt::white));
    }
}

TEST(MainWindow, WholeScreenGrabFillsTheViewAndKeepsTheTitle)
{
    MainWindowFixture f;
    action(f.window, "mnuWholeScreen")->trigger();
    PictureViewState& s = f.window.pictures();
    EXPECT_EQ(f.screen.reads.size(), 1u);
    EXPECT_EQ(s.GrabWidth, 15360);
    EXPECT_EQ(s.GrabHeight, 11520);
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
        action(f.window, entry)->trigger();
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
    action(f.window, "mnuZoom100")->trigger(); // nothing to zoom yet
    EXPECT_EQ(f.window.windowTitle(), "Quorvex7");

    f.window.GrabWholeScreen();
    action(f.window, "mnuZoom100")->trigger();
    // the held copy is the 200 x 100 inside the edge
    EXPECT_EQ(f.window.windowTitle(), "Quorvex7 - (400x200)");
    EXPECT_EQ(f.window.pic1->geometry(), QRect(16, 40, 400, 200));
    action(f.window, "mnuZoomNormal")->trigger();
    EXPECT_EQ(f.window.windowTitle(), "Quorvex7 - (204x104)");

    QTest::mouseClick(f.window.Frame2->Image4, Qt::LeftButton);
    EXPECT_FALSE(f.window.pic1->isVisible());
    action(f.window, "mnuZoomNormal")->trigger();
    EXPECT_FALSE(f.window.pic1->isVisible()) << "Reset after Clear keeps the view hidden";
    EXPECT_EQ(f.window.windowTitle(), "Quorvex7 - (204x104)");
    EXPECT_TRUE(f.messages.shown.empty());
}

TEST(MainWindow, RefusedZoomSaysSoAndKeepsThePicture)
{
    MainWindowFixture f(coordinatePattern(2, 2));
    f.window.GrabWholeScreen(); // 2 x 2 inside the 2-pixel edge
    action(f.window, "mnuZoom100")->trigger();
    const QString title = f.window.windowTitle();
    for (int i = 0; i < 4; ++i)
        action(f.window, "mnuMinus50")->trigger();
    EXPECT_EQ(f.window.windowTitle(), title);
    ASSERT_FALSE(f.messages.shown.empty());
    EXPECT_EQ(f.messages.shown.back().caption, "Quorvex7");
    EXPECT_TRUE(f.window.pictures().pic1.hasPicture());
}

TEST(MainWindow, PanningFollowsThePointerWithAnyButton)
{
    MainWindowFixture f(coordinatePattern(100, 80));
    f.window.GrabWholeScreen();
    PictureView* view = f.window.pic1;
    const QPoint start = view->pos();

    for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton}) {
        const QPoint before = view->pos();
        sendMouse(view, QEvent::MouseButtonPress, {10, 10}, button, button);
        sendMouse(view, QEvent::MouseMove, {40, 30}, Qt::NoButton, button);
        sendMouse(view, QEvent::MouseButtonRelease, {10, 10}, button, Qt::NoButton);
        EXPECT_EQ(view->pos(), before + QPoint(30, 20)) << button;
    }
    // a click without movement leaves the view where it is
    const QPoint before = view->pos();
    sendMouse(view, QEvent::MouseButtonPress, {5, 5}, Qt::LeftButton, Qt::LeftButton);
    sendMouse(view, QEvent::MouseButtonRelease, {5, 5}, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(view->pos(), before);
    // no bound: far out of the window
    sendMouse(view, QEvent::MouseButtonPress, {0, 0}, Qt::LeftButton, Qt::LeftButton);
    sendMouse(view, QEvent::MouseMove, {-2000, -1500}, Qt::NoButton, Qt::LeftButton);
    sendMouse(view, QEvent::MouseButtonRelease, {0, 0}, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(view->pos(), before + QPoint(-2000, -1500));
    // moves without a button held do not drag, and hide the tips box
    f.window.Frame2->frmTips->show();
    sendMouse(view, QEvent::MouseMove, {50, 50}, Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(view->pos(), before + QPoint(-2000, -1500));
    EXPECT_FALSE(f.window.Frame2->frmTips->isVisible());
    EXPECT_NE(start, view->pos());
}

TEST(MainWindow, ExitIconAndExitEntryCloseTheWindowButTheLabelDoesNot)
{
    MainWindowFixture f;
    QTest::mouseClick(f.window.Frame2->Label15, Qt::LeftButton);
    EXPECT_TRUE(f.window.isVisible());
    QTest::mouseClick(f.window.Frame2->Image1, Qt::LeftButton);
    EXPECT_FALSE(f.window.isVisible());

    MainWindowFixture g;
    action(g.window, "mnuExit")->trigger();
    EXPECT_FALSE(g.window.isVisible());
}
