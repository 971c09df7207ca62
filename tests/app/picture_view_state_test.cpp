#include "app/picture_view_state.h"
#include "app/title_format.h"
#include "app/zoom.h"
#include "test_images.h"

#include <gtest/gtest.h>

using namespace quorvex;
using testsupport::asymmetricPattern;
using testsupport::differenceBetween;

namespace {

// A grab of `picture` placed as the grabs place it: pic1 shown at Left 240, Top 600, all copies.
PictureViewState grabbed(const QImage& picture, bool border)
{
    PictureViewState state(Twips{});
    state.pic1.setBorder(border);
    state.pic1.setPicture(picture);
    state.pic1.setLeft(240);
    state.pic1.setTop(600);
    state.pic1.setVisible(true);
    state.keepGrab();
    return state;
}

QSize outer(const PictureViewState& s)
{
    return s.pic1.outerSize();
}

} // namespace

TEST(PictureViewState, StartsEmptyHiddenAndOffTheLeftEdge)
{
    PictureViewState state(Twips{});
    EXPECT_FALSE(state.pic1.hasPicture());
    EXPECT_FALSE(state.pic1.isVisible());
    EXPECT_LT(state.pic1.left(), 0);
    EXPECT_EQ(state.title, "Quorvex7");
    EXPECT_EQ(state.ZoomByPercent(100, true), ResizeResult::NoPicture);
    state.Reset();
    EXPECT_EQ(state.title, "Quorvex7");
    EXPECT_FALSE(state.pic1.hasPicture());
}

TEST(PictureViewState, GrabFillsAllThreeCopiesAndBorderCountsInOuterSize)
{
    const QImage picture = asymmetricPattern(64, 48);
    const PictureViewState state = grabbed(picture, true);
    EXPECT_EQ(outer(state), QSize(68, 52));
    EXPECT_EQ(state.pic1.innerSize(), QSize(64, 48));
    EXPECT_EQ(state.pic1.positionPixels(), QPoint(16, 40));
    for (const PictureBox* box : {&state.pic1, &state.pSize, &state.pb})
        EXPECT_EQ(differenceBetween(box->picture(), picture), QString());
    EXPECT_EQ(differenceBetween(state.pic1.surface(), picture), QString());
}

TEST(PictureViewState, ZoomStepsWithoutBorder)
{
    const struct {
        int percent;
        bool enlarge;
        QSize size;
    } steps[] = {{50, false, {320, 240}}, {25, false, {480, 360}}, {25, true, {800, 600}},
        {50, true, {960, 720}}, {100, true, {1280, 960}}};
    for (const auto& step : steps) {
        PictureViewState state = grabbed(asymmetricPattern(640, 480), false);
        ASSERT_EQ(state.ZoomByPercent(step.percent, step.enlarge), ResizeResult::Done);
        EXPECT_EQ(outer(state), step.size) << step.percent << step.enlarge;
        EXPECT_EQ(state.pSize.outerSize(), step.size);
        EXPECT_EQ(state.title, titleInWholePixels(step.size.width(), step.size.height()));
        EXPECT_EQ(state.pic1.positionPixels(), QPoint(16, 40)) << "zoom keeps the top-left corner";
    }
}

TEST(PictureViewState, ZoomsCompoundOnTheHeldCopy)
{
    PictureViewState state = grabbed(asymmetricPattern(640, 480), false);
    state.ZoomByPercent(25, true);
    state.ZoomByPercent(25, false);
    EXPECT_EQ(outer(state), QSize(600, 450)); // 0.9375 of the size
    EXPECT_EQ(state.title, "Quorvex7 - (600x450)");

    state.Reset();
    state.ZoomByPercent(100, true);
    state.ZoomByPercent(100, true);
    EXPECT_EQ(outer(state), QSize(2560, 1920));
}

TEST(PictureViewState, EachResizeLosesTheBorderOnceWhileTheViewHasOne)
{
    PictureViewState state = grabbed(asymmetricPattern(640, 480), true);
    ASSERT_EQ(state.ZoomByPercent(100, true), ResizeResult::Done);
    EXPECT_EQ(outer(state), QSize(1280, 960));
    EXPECT_EQ(state.pSize.outerSize(), QSize(1276, 956)); // the inner size
    EXPECT_EQ(state.title, "Quorvex7 - (1280x960)");
    state.ZoomByPercent(100, true);
    EXPECT_EQ(outer(state), QSize(2552, 1912));
    state.ZoomByPercent(50, false);
    EXPECT_EQ(outer(state), QSize(1274, 954)); // not back to 1280 x 960
}

TEST(PictureViewState, ResizeStretchesTheHeldCopyNearestNeighbour)
{
    const QImage picture = asymmetricPattern(7, 5);
    PictureViewState state = grabbed(picture, false);
    ASSERT_EQ(state.ZoomByPercent(100, true), ResizeResult::Done);
    QImage expected(14, 10, QImage::Format_RGB32);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 14; ++x)
            expected.setPixel(x, y, picture.pixel(x / 2, y / 2));
    EXPECT_EQ(differenceBetween(state.pic1.picture(), expected), QString());
    EXPECT_EQ(differenceBetween(state.pSize.picture(), expected), QString());
    EXPECT_EQ(differenceBetween(state.pb.picture(), picture), QString()) << "the grab copy never changes";
}

TEST(PictureViewState, RefusedResizeLeavesEverythingAsItWas)
{
    PictureViewState tiny = grabbed(asymmetricPattern(1, 1), false);
    tiny.ZoomByPercent(25, true); // sets a title
    const QString title = tiny.title;
    const QImage before = tiny.pic1.picture();
    EXPECT_EQ(tiny.ZoomByPercent(50, false), ResizeResult::Refused);
    EXPECT_EQ(tiny.ZoomByPercent(50, false), ResizeResult::Refused);
    EXPECT_EQ(tiny.title, title);
    EXPECT_EQ(outer(tiny), QSize(1, 1));
    EXPECT_EQ(differenceBetween(tiny.pSize.picture(), before), QString());

    PictureViewState wide = grabbed(asymmetricPattern(20000, 2), false);
    EXPECT_EQ(wide.ZoomByPercent(100, true), ResizeResult::Refused);
    EXPECT_EQ(outer(wide), QSize(20000, 2));
    EXPECT_EQ(wide.title, "Quorvex7");
    EXPECT_EQ(wide.ResizePicture(-15, 30), ResizeResult::Refused);
    EXPECT_EQ(wide.ResizePicture(15, 0), ResizeResult::Refused);

    EXPECT_EQ(wide.ResizePicture(24000 * 15, 24000 * 15), ResizeResult::Refused) << "over 2^28 pixels";
    EXPECT_EQ(outer(wide), QSize(20000, 2));
}

TEST(PictureViewState, ResetBringsBackTheGrabWhereTheViewIs)
{
    const QImage picture = asymmetricPattern(40, 30);
    PictureViewState state = grabbed(picture, false);
    state.ZoomByPercent(50, true);
    state.pic1.setLeft(900);
    state.Reset();
    EXPECT_EQ(differenceBetween(state.pic1.picture(), picture), QString());
    EXPECT_EQ(differenceBetween(state.pSize.picture(), picture), QString());
    EXPECT_EQ(state.pic1.left(), 900);
    EXPECT_EQ(state.title, "Quorvex7 - (40x30)");
}

TEST(PictureViewState, ClearThenResetKeepsTheViewHidden)
{
    PictureViewState state = grabbed(asymmetricPattern(40, 30), true);
    state.Clear();
    state.Clear(); // harmless twice
    EXPECT_FALSE(state.pic1.hasPicture());
    EXPECT_FALSE(state.pic1.isVisible());
    EXPECT_EQ(state.title, "Quorvex7") << "Clear leaves the title";
    EXPECT_TRUE(state.pSize.hasPicture());
    state.Reset();
    EXPECT_TRUE(state.pic1.hasPicture());
    EXPECT_FALSE(state.pic1.isVisible());
    EXPECT_LT(state.pic1.left(), 0);
    EXPECT_EQ(state.title, "Quorvex7 - (44x34)");
}

TEST(ZoomRules, FactorsAndBounds)
{
    EXPECT_DOUBLE_EQ(zoomFactor(50, false), 0.5);
    EXPECT_DOUBLE_EQ(zoomFactor(25, false), 0.75);
    EXPECT_DOUBLE_EQ(zoomFactor(25, true), 1.25);
    EXPECT_DOUBLE_EQ(zoomFactor(50, true), 1.5);
    EXPECT_DOUBLE_EQ(zoomFactor(100, true), 2.0);
    EXPECT_TRUE(isAcceptablePictureSize({1, 1}));
    EXPECT_TRUE(isAcceptablePictureSize({kMaxPictureSide, 8192}));
    EXPECT_FALSE(isAcceptablePictureSize({0, 5}));
    EXPECT_FALSE(isAcceptablePictureSize({5, -1}));
    EXPECT_FALSE(isAcceptablePictureSize({kMaxPictureSide + 1, 1}));
    EXPECT_FALSE(isAcceptablePictureSize({kMaxPictureSide, kMaxPictureSide}));
}

TEST(TitleFormat, WholeAndSinglePrecisionForms)
{
    EXPECT_EQ(titleInWholePixels(640, 480), "Quorvex7 - (640x480)");
    EXPECT_EQ(titleInWholePixels(640.5, 479.5), "Quorvex7 - (640x480)");
    EXPECT_EQ(titleInSinglePrecision(158, 132), "Quorvex7 - (158x132)");
    EXPECT_EQ(titleInSinglePrecision(2380.0f / 15.0f, 640.5f), "Quorvex7 - (158.6667x640.5)");
}
