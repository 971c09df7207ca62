#include "app_fixture.h"

#include <QTransform>
#include <gtest/gtest.h>

using namespace quorvex;
using namespace testsupport;

namespace {

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

// Each entry against Qt's own mirrors and turns.
TEST(TransformCommands, EachEntryTransformsThePictureAndTheHeldCopyFollows)
{
    const struct {
        const char* entry;
        QImage (*expected)(const QImage&);
        QSize view;
    } cases[] = {{"mnuFlipHorizontal", [](const QImage& in) { return in.mirrored(true, false); }, {35, 16}},
        {"mnuFlipVertical", [](const QImage& in) { return in.mirrored(false, true); }, {35, 16}},
        {"mnuRotate180", [](const QImage& in) { return in.mirrored(true, true); }, {35, 16}},
        {"mnuRotate90", [](const QImage& in) { return in.transformed(QTransform().rotate(90)); }, {16, 35}},
        {"mnuRotate270", [](const QImage& in) { return in.transformed(QTransform().rotate(-90)); },
            {16, 35}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.entry);
        TransformFixture f;
        const QImage original = f.picture();
        f.trigger(c.entry);
        EXPECT_EQ(differenceBetween(f.picture(), c.expected(original)), QString());
        EXPECT_EQ(f.view()->size(), c.view) << "the edge stays around the picture";
        EXPECT_EQ(differenceBetween(f.state().heldCopy().picture(), f.picture()), QString());
        EXPECT_EQ(differenceBetween(f.state().view().surface(), f.picture()), QString());
        EXPECT_EQ(differenceBetween(f.state().grabCopy().picture(), original), QString())
            << "Reset undoes it";
        EXPECT_EQ(f.window.windowTitle(), "Quorvex7 - (35x16)");
    }
}

TEST(TransformCommands, APolarTurnKeepsTheSizeAndRepaintsTheViewColumnByColumn)
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
    EXPECT_EQ(f.picture().size(), original.size());
    EXPECT_NE(differenceBetween(f.picture(), original), QString());
    EXPECT_EQ(differenceBetween(f.state().heldCopy().picture(), f.picture()), QString());
}
