#include "app/grab_wait.h"
#include "app/main_window.h"
#include "app/picture_output.h"
#include "app/platform_services.h"
#include "app/readable_colour.h"
#include "app/stretch.h"
#include "capture/defined_size_dialog.h"
#include "capture/qt_window_system.h"
#include "capture/selection_overlay.h"
#include "common/device_pixels.h"
#include "fakes.h"
#include "output/clipboard.h"
#include "output/print_fit.h"
#include "test_images.h"
#include "transform_oracles.h"
#include "ui_helpers.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QHash>
#include <QLabel>
#include <QSignalSpy>
#include <QStyle>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <gtest/gtest.h>
#include <tuple>
#include <vector>

using namespace quorvex;
using namespace testsupport;

namespace {

class RecordingUrlOpener final : public UrlOpener {
public:
    void open(const QUrl& url) override { opened.push_back(url); }
    std::vector<QUrl> opened;
};

// A clock that stands still; at 10.5 s after midnight the whole-screen grab waits the shortest time.
class FixedClock final : public WallClock {
public:
    double secondsSinceMidnight() const override { return reading; }
    double reading = 10.5;
};

// A main window over a fake screen, with recording services, shown at 96 dpi; with `readsWindows`
// off, on a display where no window can be read.
struct MainWindowFixture {
    explicit MainWindowFixture(QImage screenPixels = coordinatePattern(1024, 768), bool readsWindows = true,
        OverlayWindowSystem* overlayWindows = nullptr)
        : screen(std::move(screenPixels))
        , window({.screen = screen,
                     .overlayScreen = screen,
                     .overlayWindows = overlayWindows ? *overlayWindows : unshaped,
                     .windows = readsWindows ? &screen : nullptr,
                     .messages = messages,
                     .urls = urls,
                     .clock = clock,
                     .saveDialog = saveDialog,
                     .printer = printer,
                     .clipboard = clipboard},
              Twips{})
    {
        window.show();
    }
    // A control or an action by the name it stands for.
    template <typename T = QWidget> T* control(const char* name)
    {
        T* found = window.findChild<T*>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    void trigger(const char* action)
    {
        if (QAction* found = control<QAction>(action))
            found->trigger();
    }
    QWidget* surface() { return control("Form1Surface"); }
    QWidget* view() { return control("pic1"); }
    const PictureViewState& state() const { return window.pictures(); }

    FakeScreen screen;
    QtOverlayWindowSystem unshaped;
    RecordingMessageBoxes messages;
    RecordingUrlOpener urls;
    FixedClock clock;
    ChosenPathDialog saveDialog;
    RecordingPrinter printer;
    QtPictureClipboard clipboard{*QGuiApplication::clipboard()};
    Form1 window;
};

struct TransformFixture : MainWindowFixture {
    TransformFixture()
        : MainWindowFixture(asymmetricPattern(31, 12))
    {
        window.GrabWholeScreen();
        trigger("mnuZoomNormal"); // a title to keep: "Quorvex7 - (35x16)"
    }
    const QImage& picture() { return state().view().picture(); }
};

} // namespace

// The toolbar spans the window; each item shows its action's own tip (none for a caption), state and command.
TEST(MainWindow, ToolbarFollowsTheWindowWidthAndItsItemsTriggerTheirActions)
{
    MainWindowFixture f;
    f.window.resize(800, f.window.height());
    QCoreApplication::processEvents();
    // 804 px outer width (offscreen frames add 2 px a side) = 12060 twips, less 140 twips: 794.67 px
    EXPECT_EQ(f.control("Frame2")->width(), 795);
    EXPECT_EQ(f.control("Picture2")->geometry(), QRect(0, f.surface()->height() - 17, 800, 17));
    const struct {
        const char* item;
        const char* action;
        bool ownTip;
    } items[] = {{"Image2", "mnuSaveAs", true}, {"Label16", "mnuSelectArea", true},
        {"Label17", "mnuWholeScreen", true}, {"Image4", "Clear", true}, {"Image7", "mnuRotate90", false},
        {"Image6", "About", true}, {"Image1", "mnuExit", true}};
    QTest::mouseClick(f.control("Label15"), Qt::LeftButton);
    EXPECT_TRUE(f.window.isVisible()) << "the Exit label is no item";
    for (const auto& i : items) {
        SCOPED_TRACE(i.item);
        QWidget* item = f.control(i.item);
        auto* action = f.control<QAction>(i.action);
        EXPECT_EQ(item->toolTip(), i.ownTip ? action->toolTip() : QString());
        QSignalSpy triggered(action, &QAction::triggered);
        QTest::mouseClick(item, Qt::LeftButton);
        EXPECT_EQ(triggered.size(), 1);
        action->setEnabled(false);
        EXPECT_FALSE(item->isEnabled());
        action->setEnabled(true);
    }
    EXPECT_FALSE(f.window.isVisible()) << "the Exit icon closes the window";
}

TEST(MainWindow, AboutBoxLinksToTheOptionsPageAndItsButtonHidesIt)
{
    MainWindowFixture f;
    f.trigger("About");
    QWidget* box = f.control("Frame1");
    ASSERT_TRUE(box->isVisible());
    // "X" stands 120 twips above the box's top edge, and shows whole.
    QWidget* x = f.control("Command1");
    EXPECT_EQ(x->mapTo(&f.window, QPoint()) - box->mapTo(&f.window, QPoint()), QPoint(424, -8));
    EXPECT_EQ(x->visibleRegion(), QRegion(x->rect()));
    QTest::mouseClick(f.control("Label18"), Qt::LeftButton);
    ASSERT_EQ(f.urls.opened.size(), 1u);
    EXPECT_EQ(f.urls.opened[0].fileName(), "options.html");
    QTest::mouseClick(f.control("Command1"), Qt::LeftButton);
    EXPECT_FALSE(box->isVisible());
}

TEST(MainWindow, WholeScreenGrabJustBeforeMidnightWaitsOnTheMonotonicClockAndFillsTheView)
{
    MainWindowFixture f;
    // 86399.6 waits for 86401, which a standing or wrapping wall clock never reaches: the monotonic one does.
    f.clock.reading = 86399.6;
    bool eventsRan = false;
    QTimer::singleShot(0, [&] { eventsRan = true; });
    QElapsedTimer monotonic;
    monotonic.start();
    f.trigger("mnuWholeScreen");
    EXPECT_GE(monotonic.elapsed(), 1400);
    EXPECT_TRUE(eventsRan);
    EXPECT_EQ(QSize(f.state().grabWidth(), f.state().grabHeight()), QSize(15360, 11520));
    EXPECT_EQ(differenceBetween(f.state().heldCopy().picture(), f.screen.pixels()), QString());
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

// The capture procedures read through the display's window source, each the window it names at its
// size: the form whole, its client area, the window the desktop reports active, else our focused one;
// nothing where no window can be read.
TEST(MainWindow, CaptureProceduresReadTheWindowsTheyName)
{
    MainWindowFixture f;
    Form1& form = f.window;
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    const QRect outer(QPoint(), form.frameGeometry().size());
    const QRect inner(QPoint(), form.size());
    const auto shows = [&](const QImage& picture, const QRect& part) {
        return differenceBetween(picture, f.screen.pixels().copy(part)).toStdString();
    };
    EXPECT_EQ(shows(form.CaptureForm(&form), outer), "");
    EXPECT_EQ(shows(form.CaptureClient(&form), inner), "");
    f.screen.active = {42, QSize(30, 20)};
    EXPECT_EQ(shows(form.CaptureActiveWindow(), {0, 0, 30, 20}), "");
    f.screen.active = {};
    EXPECT_EQ(shows(form.CaptureActiveWindow(), outer), "");
    const WId id = form.winId();
    EXPECT_EQ(f.screen.windowReads,
        (std::vector<FakeScreen::WindowRead>{
            {id, false, outer}, {id, true, inner}, {42, false, {0, 0, 30, 20}}, {id, false, outer}}));

    MainWindowFixture wayland(coordinatePattern(1024, 768), false);
    EXPECT_TRUE(wayland.window.CaptureForm(&wayland.window).isNull());
    EXPECT_TRUE(wayland.window.CaptureClient(&wayland.window).isNull());
    EXPECT_TRUE(wayland.window.CaptureActiveWindow().isNull());
}

TEST(MainWindow, ZoomResetAndClearThroughTheMenusAndTheirRefusal)
{
    MainWindowFixture f(coordinatePattern(200, 100));
    f.window.GrabWholeScreen();
    f.trigger("mnuZoom100"); // the held copy is the 200 x 100 inside the edge
    EXPECT_EQ(f.view()->geometry(), QRect(16, 40, 400, 200));
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

TEST(AreaGrab, TheOverlaysGrabLandsInTheMainWindow)
{
    MainWindowFixture f(coordinatePattern(1920, 1080));
    f.window.showMinimized();
    f.trigger("mnuSelectArea");
    ASSERT_TRUE(f.window.OverlayLoaded());

    f.window.overlay()->GrabSelection();
    EXPECT_FALSE(f.window.isMinimized());
    EXPECT_EQ(f.view()->size(), QSize(158, 132));

    // closing the main window unloads the overlay too
    f.window.close();
    QCoreApplication::processEvents();
    EXPECT_FALSE(f.window.OverlayLoaded());
}

// A grab the source refuses closes the overlay and says why, as does a display that cannot ready one.
TEST(AreaGrab, ARefusedGrabOrOverlayIsSaid)
{
    MainWindowFixture f;
    f.trigger("mnuSelectArea");
    ASSERT_TRUE(f.window.OverlayLoaded());
    f.screen.failure = "the desktop portal refused the screenshot (cancelled)";
    f.window.overlay()->GrabSelection();
    EXPECT_FALSE(f.window.OverlayLoaded());

    struct Unready final : OverlayWindowSystem {
        Status prepareOverlay(QScreen*) override { return fail("the desktop could not be read"); }
        bool supportsShaping() const override { return false; }
        void applyShape(QWidget&, const QRegion&) override { }
        void makeTopmost(QWidget&) override { }
        void waitForDisplay() override { }
    } unready;
    MainWindowFixture g(coordinatePattern(1024, 768), true, &unready);
    g.trigger("mnuSelectArea");
    EXPECT_FALSE(g.window.OverlayLoaded());
    EXPECT_EQ(f.messages.shown + g.messages.shown,
        QList<Message>({{"The desktop portal refused the screenshot (cancelled).", MessageIcon::Exclamation},
            {"The desktop could not be read.", MessageIcon::Exclamation}}));
}

TEST(Stretching, HoverShowsThePointerAndTheHintAlsoWithTheViewHidden)
{
    // pic1: 204 x 104 px at 16, 40, strips from 220 and 144 px; after Clear 0 x 0 at -15, 600 twips.
    MainWindowFixture f(asymmetricPattern(200, 100));
    f.window.GrabWholeScreen();
    const struct {
        bool cleared;
        QPoint at;
        Qt::CursorShape cursor;
        QString tip;
    } steps[] = {{false, {222, 80}, Qt::SizeHorCursor, "Stretch/Size Horizontal"},
        {false, {100, 146}, Qt::SizeVerCursor, "Stretch/Size vertical"},
        {false, {222, 140}, Qt::SizeFDiagCursor, "Size Proportional"},
        {false, {400, 300}, Qt::ArrowCursor, ""}, {true, {8, 42}, Qt::SizeFDiagCursor, "Size Proportional"},
        {true, {9, 42}, Qt::ArrowCursor, ""}};
    for (const auto& s : steps) {
        SCOPED_TRACE(testing::Message() << s.at.x() << "," << s.at.y());
        if (s.cleared)
            f.trigger("Clear");
        sendMouse(f.surface(), QEvent::MouseMove, s.at, Qt::NoButton, Qt::NoButton);
        EXPECT_EQ(f.surface()->cursor().shape(), s.cursor);
        EXPECT_EQ(f.control("frmTips")->isVisible(), !s.tip.isEmpty());
        if (!s.tip.isEmpty()) {
            EXPECT_EQ(f.control<QLabel>("lblTips")->text(), s.tip);
        }
    }
}

// Without a picture only the outputs say so, the clipboard untouched; then they take the view as shown.
TEST(OutputCommands, SaveAsAndPrintToFitTakeWhatTheViewShows)
{
    MainWindowFixture f(asymmetricPattern(60, 20));
    QGuiApplication::clipboard()->setText("kept");
    for (const char* name : {"mnuSaveAs", "mnuPrintNormal", "mnuPrintToFit", "mnuClip", "mnuFlipHorizontal",
             "mnuFlipVertical", "mnuRotate90", "mnuRotate180", "mnuRotate270", "mnuZoom100", "mnuZoomNormal"})
        f.trigger(name);
    EXPECT_EQ(f.window.windowTitle(), "Quorvex7");
    EXPECT_TRUE(f.saveDialog.requests.isEmpty());
    EXPECT_TRUE(f.printer.open.isEmpty() && f.printer.sent.isEmpty());
    EXPECT_FALSE(f.state().heldCopy().hasPicture());
    EXPECT_FALSE(CopyPictureToClipboard(QImage(), *QGuiApplication::clipboard()));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "kept");
    EXPECT_EQ(f.messages.shown.size(), 4);

    f.window.GrabWholeScreen();
    f.trigger("mnuZoom100");
    QTemporaryDir dir;
    f.saveDialog.path = dir.filePath("shot.bmp");
    f.trigger("mnuSaveAs");
    EXPECT_EQ(differenceBetween(QImage(dir.filePath("shot.bmp")), f.state().view().surface()), QString());
    f.trigger("mnuPrintToFit");
    ASSERT_EQ(f.printer.sent.size(), 1);
    EXPECT_EQ(f.printer.sent[0].picture, QSize(116, 36)); // 120 x 40 less the 4 px the edge takes
    EXPECT_EQ(f.messages.shown.size(), 4) << "no more messages";
}

// An inch of screen prints as an inch of paper at 96, 144 or 192 device pixels to the inch.
TEST(OutputCommands, PrintAtOwnSizeKeepsThePhysicalSizeOnScaledScreens)
{
    for (const double ratio : {1.0, 1.5, 2.0}) {
        const Twips twips = Twips{}.perDevicePixel(ratio);
        const QSize pixels(toDeviceLength(96, ratio), toDeviceLength(48, ratio));
        PictureViewState state(twips);
        state.placeForWholeScreen({twips.fromPixelsX(pixels.width()), twips.fromPixelsY(pixels.height())});
        state.keepWholeScreenGrab(asymmetricPattern(pixels.width(), pixels.height()));
        RecordingMessageBoxes messages;
        ChosenPathDialog dialog;
        RecordingPrinter printer;
        QtPictureClipboard clipboard(*QGuiApplication::clipboard());
        PictureOutput(state, messages, dialog, printer, clipboard).printNormal();
        ASSERT_EQ(printer.sent.size(), 1) << ratio;
        EXPECT_EQ(printer.sent[0].size, (PrintSize{2540, 1270})) << ratio; // 1 x 0.5 inch
        EXPECT_EQ(printer.sent[0].picture, pixels) << ratio;
    }
}

TEST(TransformCommands, EachEntryTransformsThePictureAndTheHeldCopyFollows)
{
    const std::pair<const char*, QImage (*)(const QImage&)> cases[] = {
        {"mnuFlipHorizontal",
            [](const QImage& p) { return oracle::mirrored(p, oracle::Mirror::Horizontal); }},
        {"mnuFlipVertical", [](const QImage& p) { return oracle::mirrored(p, oracle::Mirror::Vertical); }},
        {"mnuRotate180", [](const QImage& p) { return oracle::mirrored(p, oracle::Mirror::HalfTurn); }},
        {"mnuRotate90", oracle::turnedClockwise}, {"mnuRotate270", oracle::turnedCounterClockwise}};
    for (const auto& [entry, expected] : cases) {
        SCOPED_TRACE(entry);
        TransformFixture f;
        const QImage original = f.picture();
        f.trigger(entry);
        EXPECT_EQ(differenceBetween(f.picture(), expected(original)), QString());
        EXPECT_EQ(f.view()->size(), f.picture().size() + QSize(4, 4)) << "the edge stays around the picture";
        EXPECT_EQ(differenceBetween(f.state().heldCopy().picture(), f.picture()), QString());
        EXPECT_EQ(differenceBetween(f.state().view().surface(), f.picture()), QString());
        EXPECT_EQ(differenceBetween(f.state().grabCopy().picture(), original), QString())
            << "Reset undoes it";
        EXPECT_EQ(f.window.windowTitle(), "Quorvex7 - (35x16)");
    }
}

TEST(TransformCommands, APolarTurnRepaintsTheViewColumnByColumn)
{
    struct PaintCounter : QObject {
        bool eventFilter(QObject*, QEvent* event) override
        {
            paints += event->type() == QEvent::Paint;
            return false;
        }
        int paints = 0;
    } counter;
    TransformFixture f;
    const QImage original = f.picture();
    f.view()->installEventFilter(&counter);
    f.window.RotateByAngle(30);
    // 31 x 12 px: the mapping paints columns 0 to 16 (half the longer side, rounded) one by one
    EXPECT_GE(counter.paints, 18) << "a repaint after each of the 17 columns and one at the end";
    // The turned picture on the view's back colour, kept as the new picture.
    QImage background(original.size(), QImage::Format_RGB32);
    background.fill(f.state().view().backColor());
    EXPECT_EQ(differenceBetween(f.picture(), oracle::polarRotation(original, background, 30)), QString());
    EXPECT_EQ(differenceBetween(f.state().heldCopy().picture(), f.picture()), QString());
}

// No two texts of a window overlap, each measured in its own font where its alignment puts it.
TEST(TextFit, NoTwoCaptionsOverlap)
{
    MainWindowFixture f;
    f.trigger("About");
    f.control<QLabel>("lblTips")->setText(stretchHint(StretchMode::Horizontal));
    Form2 overlay(f.screen, f.unshaped, f.window, Twips{});
    Form3 dialog({}, Twips{});
    for (QWidget* window : std::initializer_list<QWidget*>{&f.window, &overlay, &dialog}) {
        std::vector<std::pair<QString, QRect>> texts;
        for (QWidget* control : window->findChildren<QWidget*>()) {
            auto* label = qobject_cast<QLabel*>(control);
            auto* button = qobject_cast<QAbstractButton*>(control);
            const QString text = label ? label->text() : button ? button->text() : QString();
            if (text.isEmpty())
                continue;
            const auto alignment = label ? label->alignment() : Qt::Alignment(Qt::AlignCenter);
            const QRect placed = QStyle::alignedRect(Qt::LeftToRight, alignment,
                control->fontMetrics().size(Qt::TextSingleLine, text), control->contentsRect())
                                     .translated(control->mapTo(window, QPoint(0, 0)));
            for (const auto& [other, otherRect] : texts)
                EXPECT_FALSE(placed.intersects(otherRect))
                    << text.toStdString() << " runs into " << other.toStdString();
            texts.emplace_back(text, placed);
        }
        EXPECT_FALSE(texts.empty());
    }
}

namespace {

// How far the pixel of `area` that stands out most differs from the colour most of `area` has: the
// contrast of a control's text with what lies behind it, as the screen shows them.
double shownContrast(const QImage& shot, const QRect& area)
{
    QHash<QRgb, int> counts;
    const QRect inside = area & shot.rect();
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            ++counts[shot.pixel(x, y)];
    QRgb background = 0;
    int most = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        if (it.value() > most)
            std::tie(background, most) = std::pair(it.key(), it.value());
    double best = 1;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        best = std::max(best, contrastRatio(QColor(it.key()), QColor(background)));
    return best;
}

QPalette darkPalette(bool lightTooltips)
{
    QPalette p(QColor(53, 53, 53));
    for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText, QPalette::BrightText})
        p.setColor(role, QColor(238, 238, 238));
    p.setColor(QPalette::Base, QColor(30, 30, 30));
    p.setColor(QPalette::Link, QColor(138, 180, 248));
    // A dark theme may leave the tooltip colours at their light default (GTK's through Qt's theme
    // does), or darken them too.
    p.setColor(QPalette::ToolTipBase, lightTooltips ? QColor(255, 255, 220) : QColor(70, 70, 70));
    p.setColor(QPalette::ToolTipText, lightTooltips ? QColor(Qt::black) : QColor(238, 238, 238));
    return p;
}

} // namespace

// Every caption of the three windows stands out from what lies behind it, under a light and a dark
// desktop palette, on each window background of the Window menu.
TEST(Legibility, EveryCaptionStandsOutUnderLightAndDarkPalettes)
{
    const QPalette original = QApplication::palette();
    const std::pair<const char*, QPalette> palettes[] = {{"light", QApplication::style()->standardPalette()},
        {"dark", darkPalette(false)}, {"dark, light tooltips", darkPalette(true)}};
    for (const auto& [name, palette] : palettes) {
        QApplication::setPalette(palette);
        for (const char* background : {"mnuBackWhite", "mnuBackLight", "munBackDark"}) {
            SCOPED_TRACE(testing::Message() << name << ", " << background);
            MainWindowFixture f;
            f.trigger(background);
            f.trigger("About");
            f.control<QLabel>("lblTips")->setText(stretchHint(StretchMode::Horizontal));
            f.control("frmTips")->show();
            Form2 overlay(f.screen, f.unshaped, f.window, Twips{});
            overlay.show();
            Form3 dialog({}, Twips{});
            dialog.show();
            int measured = 0;
            for (QWidget* window : std::initializer_list<QWidget*>{&f.window, &overlay, &dialog}) {
                const QImage shot = window->grab().toImage();
                for (QWidget* control : window->findChildren<QWidget*>()) {
                    auto* label = qobject_cast<QLabel*>(control);
                    auto* button = qobject_cast<QAbstractButton*>(control);
                    const QString text = label ? label->text() : button ? button->text() : QString();
                    if (text.isEmpty() || !control->isVisibleTo(window))
                        continue;
                    // A button's own border is no text: only its face counts.
                    const QRect area
                        = QRect(control->mapTo(window, QPoint()), control->size())
                              .adjusted(button ? 3 : 0, button ? 3 : 0, button ? -3 : 0, button ? -3 : 0);
                    EXPECT_GE(shownContrast(shot, area), kLegibleContrast) << text.toStdString();
                    ++measured;
                }
            }
            EXPECT_EQ(measured, 13) << "Exit, tips, four about texts and X; x; three labels, two buttons";
        }
    }
    QApplication::setPalette(original);
}
