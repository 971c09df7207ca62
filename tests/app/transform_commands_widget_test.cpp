#include "app_fixture.h"
#include "transform_oracles.h"

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
