#include "app/picture_view.h"
#include "app_fixture.h"

#include <QTest>
#include <gtest/gtest.h>

using namespace quorvex;
using namespace testsupport;

namespace {

// Plain per-pixel definitions of what the commands must give.
QImage expectedMirror(const QImage& in, bool horizontal, bool vertical)
{
    QImage out(in.size(), QImage::Format_RGB32);
    for (int y = 0; y < in.height(); ++y)
        for (int x = 0; x < in.width(); ++x)
            out.setPixel(
                x, y, in.pixel(horizontal ? in.width() - 1 - x : x, vertical ? in.height() - 1 - y : y));
    return out;
}

QImage expectedClockwise(const QImage& in)
{
    QImage out(in.height(), in.width(), QImage::Format_RGB32);
    for (int y = 0; y < out.height(); ++y)
        for (int x = 0; x < out.width(); ++x)
            out.setPixel(x, y, in.pixel(y, in.height() - 1 - x));
    return out;
}

struct TransformFixture : MainWindowFixture {
    TransformFixture()
        : MainWindowFixture(asymmetricPattern(31, 12))
    {
        window.GrabWholeScreen();
        window.Reset(); // a title to keep: "Quorvex7 - (35x16)"
    }
    void trigger(const char* name) { window.findChild<QAction*>(QLatin1String(name))->trigger(); }
    const QImage& picture() { return window.pictures().pic1.picture(); }
    void expectHeldCopyFollows()
    {
        EXPECT_EQ(differenceBetween(window.pictures().pSize.picture(), picture()), QString());
        EXPECT_EQ(differenceBetween(window.pictures().pic1.surface(), picture()), QString());
        EXPECT_EQ(window.windowTitle(), "Quorvex7 - (35x16)");
    }
};

} // namespace

TEST(TransformCommands, MirrorsAndHalfTurn)
{
    const struct {
        const char* entry;
        bool horizontal, vertical;
    } cases[] = {
        {"mnuFlipHorizontal", true, false}, {"mnuFlipVertical", false, true}, {"mnuRotate180", true, true}};
    for (const auto& c : cases) {
        TransformFixture f;
        const QImage original = f.picture();
        f.trigger(c.entry);
        EXPECT_EQ(
            differenceBetween(f.picture(), expectedMirror(original, c.horizontal, c.vertical)), QString())
            << c.entry;
        f.expectHeldCopyFollows();
        EXPECT_EQ(f.window.pic1->size(), QSize(35, 16));
    }
}

TEST(TransformCommands, QuarterTurnsExchangeTheSidesAndUndoEachOther)
{
    TransformFixture f;
    const QImage original = f.picture();
    f.trigger("mnuRotate90");
    EXPECT_EQ(differenceBetween(f.picture(), expectedClockwise(original)), QString());
    EXPECT_EQ(f.window.pic1->size(), QSize(16, 35)) << "the edge stays around the turned picture";
    f.expectHeldCopyFollows();
    f.trigger("mnuRotate270");
    EXPECT_EQ(differenceBetween(f.picture(), original), QString());
    f.expectHeldCopyFollows();

    QTest::mouseClick(f.window.findChild<QWidget*>("Image7"), Qt::LeftButton);
    EXPECT_EQ(differenceBetween(f.picture(), expectedClockwise(original)), QString())
        << "Image7 turns like 90";
}

TEST(TransformCommands, ZoomStartsFromTheTurnedPictureAndResetUndoesAll)
{
    TransformFixture f;
    const QImage original = f.picture();
    f.trigger("mnuRotate180");
    f.trigger("mnuZoom100");
    const QImage zoomed = f.picture();
    EXPECT_EQ(zoomed.size(), QSize(58, 20)); // 62 x 24 less the edge
    EXPECT_EQ(zoomed.pixel(0, 0), original.pixel(30, 11)) << "the zoom shows the turned picture";
    f.trigger("mnuZoomNormal");
    EXPECT_EQ(differenceBetween(f.picture(), original), QString());
}

TEST(TransformCommands, NothingHappensBeforeTheFirstGrab)
{
    MainWindowFixture f;
    for (const char* name :
        {"mnuFlipHorizontal", "mnuFlipVertical", "mnuRotate90", "mnuRotate180", "mnuRotate270"})
        f.window.findChild<QAction*>(QLatin1String(name))->trigger();
    EXPECT_FALSE(f.window.pictures().pic1.hasPicture());
    EXPECT_FALSE(f.window.pictures().pSize.hasPicture());
    EXPECT_EQ(f.window.windowTitle(), "Quorvex7");
    EXPECT_TRUE(f.messages.shown.empty());
}

TEST(TransformCommands, APolarTurnKeepsTheSizeAndShowsProgress)
{
    TransformFixture f;
    const QImage original = f.picture();
    f.window.RotateByAngle(30);
    EXPECT_EQ(f.picture().size(), original.size());
    EXPECT_NE(differenceBetween(f.picture(), original), QString());
    f.expectHeldCopyFollows();
}
