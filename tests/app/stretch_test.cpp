#include "app/picture_box.h"
#include "app/stretch.h"

#include <gtest/gtest.h>

using namespace quorvex;

namespace {

// pic1 at Left 240, Top 600, 3000 x 1500 twips: R = 3240, B = 2100.
const BoxTwips box{240, 600, 3000, 1500};

PictureBox boxAt(double left, double top, double width, double height)
{
    PictureBox b(Twips{}, false, false);
    b.setLeft(left);
    b.setTop(top);
    b.setWidth(width);
    b.setHeight(height);
    return b;
}

} // namespace

TEST(StretchZone, StripsCornerAndOutside)
{
    const struct {
        double x, y;
        StretchMode mode;
        const char* what;
    } cases[] = {
        {3245, 1350, StretchMode::Horizontal, "5 twips right of the edge, level with the middle"},
        {3240, 1350, StretchMode::Horizontal, "exactly on the right edge"},
        {3389, 1350, StretchMode::Horizontal, "last twip of the strip"},
        {3390, 1350, StretchMode::None, "R + 150 is outside"},
        {3239, 1350, StretchMode::None, "inside the box"},
        {3245, 600, StretchMode::None, "level with the top edge: the vertical span is strict"},
        {3345, 2199, StretchMode::Proportional, "the right strip reaches 100 twips below the box"},
        {3345, 2200, StretchMode::None, "and no further"},
        {1500, 2105, StretchMode::Vertical, "below the middle of the bottom edge"},
        {1500, 2249, StretchMode::Vertical, "last twip of the bottom strip"},
        {1500, 2250, StretchMode::None, "B + 150"},
        {240, 2105, StretchMode::None, "level with the left edge: the horizontal span is strict"},
        {3245, 2050, StretchMode::Proportional, "right of the edge, 50 twips above the bottom"},
        {3245, 1905, StretchMode::Proportional, "195 twips above the bottom"},
        {3245, 1900, StretchMode::Horizontal, "200 twips above the bottom is not the corner"},
        {3100, 2105, StretchMode::Proportional, "below, 140 twips left of the right edge"},
        {3250, 2110, StretchMode::Proportional, "just beyond the corner, where both strips meet"},
        {3330, 2190, StretchMode::Proportional, "far end of the overlap"},
        {5000, 5000, StretchMode::None, "far away"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(stretchZone(box, c.x, c.y), c.mode) << c.what;
}

TEST(StretchZone, EdgesRoundHalvesToEven)
{
    // Left + Width = 3240.5 rounds to 3240: X = 3240 is already in the strip.
    const BoxTwips half{240.5, 600, 3000, 1500};
    EXPECT_EQ(stretchZone(half, 3240, 1350), StretchMode::Horizontal);
    const BoxTwips odd{241.5, 600, 3000, 1500}; // 3241.5 rounds to 3242
    EXPECT_EQ(stretchZone(odd, 3241, 1350), StretchMode::None);
}

TEST(StretchZone, CursorsAndHints)
{
    EXPECT_EQ(stretchCursor(StretchMode::Horizontal), Qt::SizeHorCursor);
    EXPECT_EQ(stretchCursor(StretchMode::Vertical), Qt::SizeVerCursor);
    EXPECT_EQ(stretchCursor(StretchMode::Proportional), Qt::SizeFDiagCursor);
    EXPECT_EQ(stretchCursor(StretchMode::None), Qt::ArrowCursor);
    EXPECT_EQ(stretchHint(StretchMode::Horizontal), "Stretch/Size Horizontal");
    EXPECT_EQ(stretchHint(StretchMode::Vertical), "Stretch/Size vertical");
    EXPECT_EQ(stretchHint(StretchMode::Proportional), "Size Proportional");
    EXPECT_TRUE(stretchHint(StretchMode::None).isEmpty());
}

TEST(StretchDrag, WidthAndHeightFollowThePointer)
{
    PictureBox b = boxAt(240, 600, 1500, 900);
    applyStretchDrag(b, StretchMode::Horizontal, 240 + 3000, 9999, 0, 0);
    EXPECT_EQ(b.width(), 3000);
    EXPECT_EQ(b.height(), 900);
    applyStretchDrag(b, StretchMode::Vertical, 9999, 600 + 450, 0, 0);
    EXPECT_EQ(b.height(), 450);
    EXPECT_EQ(b.width(), 3000);
    applyStretchDrag(b, StretchMode::None, 9999, 9999, 15000, 9000);
    EXPECT_EQ(b.width(), 3000);
    EXPECT_EQ(b.height(), 450);
}

TEST(StretchDrag, LeftOfOrAboveTheBoxFallsBackToPositionPlus50)
{
    PictureBox b = boxAt(240, 600, 1500, 900);
    applyStretchDrag(b, StretchMode::Horizontal, 100, 0, 0, 0);
    EXPECT_EQ(b.width(), 285); // Left + 50 = 290 twips, whole pixels: 19 px
    applyStretchDrag(b, StretchMode::Vertical, 0, 300, 0, 0);
    EXPECT_EQ(b.height(), 645); // Top + 50 = 650 twips -> 43 px
}

TEST(StretchDrag, ProportionalKeepsTheGrabsProportionsInWholePercent)
{
    PictureBox b = boxAt(240, 600, 1500, 900);
    applyStretchDrag(b, StretchMode::Proportional, 240 + 7500, 0, 15000, 9000);
    EXPECT_EQ(b.width(), 7500);
    EXPECT_EQ(b.height(), 4500); // unit 150, percent 50

    applyStretchDrag(b, StretchMode::Proportional, 240 + 7620, 0, 15000, 9000);
    EXPECT_EQ(b.width(), 7620);
    EXPECT_EQ(b.height(), 4590); // percent 51 (50.8 rounded): 4590 twips

    // A grab width of 50 twips or less gives unit 0: the percent stays 0 and so does the height.
    applyStretchDrag(b, StretchMode::Proportional, 240 + 600, 0, 50, 9000);
    EXPECT_EQ(b.width(), 600);
    EXPECT_EQ(b.height(), 0);
}

TEST(StretchDrag, SizesBeyondWhatTheViewHoldsAreRefused)
{
    PictureBox b = boxAt(240, 600, 1500, 900);
    // unit 2: the width of 4000 twips is held as 267 px = 4005 twips, 2002 percent of a 9000-twip
    // grab height: 180180 twips (12012 px)
    applyStretchDrag(b, StretchMode::Proportional, 240 + 4000, 0, 150, 9000);
    EXPECT_EQ(b.height(), 180180);
    // but 36000 pixels is more than a side may be: the height step is skipped
    applyStretchDrag(b, StretchMode::Proportional, 240 + 12000, 0, 150, 9000);
    EXPECT_EQ(b.width(), 12000);
    EXPECT_EQ(b.height(), 180180);
    // and a product past 32 bits fails the same way
    applyStretchDrag(b, StretchMode::Proportional, 240 + 14000, 0, 150, 2000000000);
    EXPECT_EQ(b.height(), 180180);
}
