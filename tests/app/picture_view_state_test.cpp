#include "app/picture_view_state.h"
#include "app/title_format.h"
#include "test_images.h"

#include <gtest/gtest.h>
#include <vector>

using namespace quorvex;
using testsupport::asymmetricPattern;
using testsupport::differenceBetween;

namespace {

// `picture` grabbed as the whole screen (pic1 keeps its edge) or through the overlay (it loses it).
PictureViewState grabbed(const QImage& picture, bool wholeScreen)
{
    PictureViewState state(Twips{});
    const int w = picture.width(), h = picture.height();
    if (wholeScreen) {
        state.placeForWholeScreen(QSizeF(w * 15, h * 15));
        state.keepWholeScreenGrab(picture);
    } else {
        state.acceptSelectionGrab(
            picture, {w * 15.0, h * 15.0, (w + 2) * 15, (h + 2) * 15, float(w), float(h)});
    }
    return state;
}

} // namespace

TEST(PictureViewState, ZoomsStepFromTheHeldCopyCompoundAndLoseTheBorderEachTime)
{
    const struct {
        bool border;
        std::vector<std::pair<int, bool>> zooms; // percent, enlarge
        const char* title; // after the last zoom, of a 640 x 480 grab
        QSize held;
    } cases[] = {{false, {{50, false}}, "Quorvex7 - (320x240)", {320, 240}},
        {false, {{25, false}}, "Quorvex7 - (480x360)", {480, 360}},
        {false, {{25, true}}, "Quorvex7 - (800x600)", {800, 600}},
        {false, {{25, true}, {25, false}}, "Quorvex7 - (600x450)", {600, 450}}, // 0.9375 of the size
        {false, {{100, true}, {100, true}}, "Quorvex7 - (2560x1920)", {2560, 1920}},
        {true, {{100, true}}, "Quorvex7 - (1280x960)", {1276, 956}}, // the held copy is the inner size
        {true, {{100, true}, {100, true}, {50, false}}, "Quorvex7 - (1274x954)", {1270, 950}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.title);
        PictureViewState state = grabbed(asymmetricPattern(640, 480), c.border);
        for (const auto& [percent, enlarge] : c.zooms)
            ASSERT_EQ(state.ZoomByPercent(percent, enlarge), ResizeResult::Done);
        EXPECT_EQ(state.title(), c.title);
        EXPECT_EQ(state.heldCopy().outerSize(), c.held);
        EXPECT_EQ(state.view().positionPixels(), QPoint(16, 40)) << "zoom keeps the top-left corner";
    }
}

TEST(PictureViewState, RefusedResizeLeavesEverythingAsItWas)
{
    PictureViewState tiny = grabbed(asymmetricPattern(1, 1), false);
    const QImage before = tiny.view().picture();
    EXPECT_EQ(tiny.ZoomByPercent(50, false), ResizeResult::Refused);
    EXPECT_EQ(tiny.title(), "Quorvex7 - (1x1)");
    EXPECT_EQ(differenceBetween(tiny.heldCopy().picture(), before), QString());

    PictureViewState wide = grabbed(asymmetricPattern(20000, 2), false);
    EXPECT_EQ(wide.ZoomByPercent(100, true), ResizeResult::Refused);
    EXPECT_EQ(wide.ResizePicture(-15, 30), ResizeResult::Refused);
    EXPECT_EQ(wide.ResizePicture(15, 0), ResizeResult::Refused);
    EXPECT_EQ(wide.ResizePicture(32768 * 15, 30), ResizeResult::Refused) << "over 32767 a side";
    EXPECT_EQ(wide.ResizePicture(24000 * 15, 24000 * 15), ResizeResult::Refused) << "over 2^28 pixels";
    EXPECT_EQ(wide.view().outerSize(), QSize(20000, 2));
    EXPECT_EQ(wide.title(), "Quorvex7 - (20000x2)");
    EXPECT_EQ(wide.ResizePicture(32767 * 15, 30), ResizeResult::Done);
}

TEST(PictureViewState, ResetBringsBackTheGrabWhereTheViewIs)
{
    const QImage picture = asymmetricPattern(40, 30);
    PictureViewState state = grabbed(picture, true);
    state.ZoomByPercent(50, true);
    state.moveViewBy(660, 0);
    state.Reset();
    EXPECT_EQ(differenceBetween(state.view().picture(), picture), QString());
    EXPECT_EQ(differenceBetween(state.heldCopy().picture(), picture), QString());
    EXPECT_EQ(state.view().left(), 900);
    EXPECT_EQ(state.title(), "Quorvex7 - (44x34)");
}

TEST(TitleFormat, WholeAndSinglePrecisionForms)
{
    EXPECT_EQ(titleInWholePixels(640.5, 479.5), "Quorvex7 - (640x480)");
    EXPECT_EQ(titleInSinglePrecision(158, 132), "Quorvex7 - (158x132)");
    EXPECT_EQ(titleInSinglePrecision(2380.0f / 15.0f, 640.5f), "Quorvex7 - (158.6667x640.5)");
}
