#include "capture/overlay_geometry.h"

#include "ui_helpers.h"

#include <gtest/gtest.h>
#include <limits>

using namespace quorvex;
using testsupport::k96Dpi;

// Part of the worked example: window at 3000, 1500 twips, s1 at 120, 240, 2400 x 2010, our frame 4
// pixels thick, so b = (4 + 1) x 15 = 75 twips each way.
TEST(SelectionGrab, WorkedExampleGivesTheInsideOfTheFrame)
{
    const QRect s1(120, 240, 2400, 2010);
    EXPECT_EQ(selectionGrabRect({3000, 1500}, s1, k96Dpi), QRect(213, 121, 158, 132));

    const SelectionGrabGeometry g = selectionGrabGeometry(s1.size(), k96Dpi);
    EXPECT_EQ(g.pictureWidth, 2370);
    EXPECT_EQ(g.pictureHeight, 1980);
    EXPECT_EQ(g.grabWidth, 2400);
    EXPECT_EQ(g.grabHeight, 2010);
    EXPECT_EQ(formatSingle(g.titleWidth), "158");
    EXPECT_EQ(formatSingle(g.titleHeight), "132");
}

TEST(SelectionGrab, RectangleStartsOnePixelInsideS1InPixelTerms)
{
    // Window at pixel (200, 100): frame 4, s1 at (8, 16) in the client area, border 1.
    const struct {
        Twips twips;
        QPoint windowPixels;
        QRect s1Pixels;
    } cases[] = {
        {k96Dpi, {200, 100}, {8, 16, 160, 134}}, {k96Dpi, {0, 0}, {8, 16, 4, 8}},
        {k96Dpi, {-50, 900}, {8, 16, 300, 40}},
        {Twips{12, 10}, {200, 100}, {10, 24, 200, 201}}, // non-square pixels: each axis its own b
    };
    for (const auto& c : cases) {
        const QPoint window(c.windowPixels.x() * c.twips.perPixelX, c.windowPixels.y() * c.twips.perPixelY);
        const QRect s1(c.s1Pixels.x() * c.twips.perPixelX, c.s1Pixels.y() * c.twips.perPixelY,
            c.s1Pixels.width() * c.twips.perPixelX, c.s1Pixels.height() * c.twips.perPixelY);
        const QRect expected(c.windowPixels + QPoint(kOverlayFramePixels, kOverlayFramePixels)
                + c.s1Pixels.topLeft() + QPoint(1, 1),
            c.s1Pixels.size() - QSize(2, 2));
        EXPECT_EQ(selectionGrabRect(window, s1, c.twips), expected) << c.twips.perPixelX;
    }
}

TEST(ResizeRule, SnapsToTheMinimumAndControlsKeepTheirDistances)
{
    const struct {
        QSize in;
        QSize out;
    } snaps[] = {{{0, 0}, {450, 600}}, {{449, 601}, {450, 601}}, {{451, 599}, {451, 600}},
        {{-3000, 2000}, {450, 2000}}};
    for (const auto& s : snaps)
        EXPECT_EQ(snapToMinimum(s.in), s.out) << s.in.width() << "x" << s.in.height();

    const OverlayLayout designed = designedOverlayLayout(k96Dpi);
    const OverlayMargins margins = marginsAtLoad(designed);
    EXPECT_EQ(margins, (OverlayMargins{390, 480, 510}));
    const OverlayLayout smallest = followWindowSize(designed, margins, {450, 600});
    EXPECT_EQ(smallest.s1, QRect(120, 240, 60, 120));
    EXPECT_EQ(smallest.xButton, QRect(-60, -50, 405, 270));
    EXPECT_EQ(smallest.label2, QRect(0, 0, 450, 150));

    const OverlayLayout wide = followWindowSize(smallest, margins, {6000, 3000});
    EXPECT_EQ(wide.s1, QRect(120, 240, 5610, 2520));
    EXPECT_EQ(wide.xButton.x(), 5490);
    EXPECT_EQ(wide.label2.width(), 6000);
    EXPECT_EQ(followWindowSize(wide, margins, designed.window), designed);
}

TEST(DefinedSize, TypedPixelsBecomeTheWindowThatHoldsThemInsideS1)
{
    const OverlayMargins margins = marginsAtLoad(designedOverlayLayout(k96Dpi));
    const struct {
        const char16_t* text;
        double twips;
    } cases[] = {
        {u"100", 390 + 1500 + 30}, // s1 102 pixels, grab 100
        {u"250px", 390 + 3750 + 30}, // the leading number counts
        {u"px", 390 + 0 + 30}, // no number: 0, below the minimum
        {u"-5", 390 - 75 + 30},
        {u"2.5", 390 + 37.5 + 30},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(
            definedSizeLength(margins.FrameMarginW, leadingNumber(QStringView(c.text)), 15), c.twips)
            << QString::fromUtf16(c.text).toStdString();
}

TEST(DefinedSize, WindowLengthIsClampedBetweenMinimumAndVirtualScreen)
{
    constexpr double inf = std::numeric_limits<double>::infinity();
    const struct {
        double twips;
        int pixels;
    } cases[] = {
        {1920, 128}, // 100 x 100 grab: 390 + 1530 twips
        {450, 30}, // the minimum itself
        {420, 30}, // "0" typed: up to the minimum
        {-1e9, 30}, // minus sign in the text
        {1927.5, 128}, // 128.5 pixels: halves to even
        {1942.5, 130}, // 129.5 pixels
        {28815, 1920}, // one pixel more
        {inf, 1920},
        {-inf, 30},
        {std::numeric_limits<double>::quiet_NaN(), 30},
    };
    for (const auto& c : cases)
        EXPECT_EQ(overlayLengthPixels(c.twips, kOverlayMinimumWidth, 1920, 15), c.pixels) << c.twips;

    // Heights: 600 twips is 40 pixels; a screen smaller than the minimum still gets the minimum.
    EXPECT_EQ(overlayLengthPixels(0, kOverlayMinimumHeight, 1080, 15), 40);
    EXPECT_EQ(overlayLengthPixels(1e12, kOverlayMinimumHeight, 20, 15), 40);
    // At 90 dpi (16 twips per pixel) 450 twips need 29 pixels, not 28.
    EXPECT_EQ(pixelsCovering(450, 16), 29);
    EXPECT_EQ(overlayLengthPixels(0, kOverlayMinimumWidth, 1920, 16), 29);
}

TEST(TwipsToPixels, EachFieldRoundsHalvesToEven)
{
    EXPECT_EQ(twipsToPixels({2280, -50, 405, 270}, k96Dpi), QRect(152, -3, 27, 18));
    EXPECT_EQ(twipsToPixels({15 * 3 / 2, 45 / 2, 75 / 2, 105 / 2}, Twips{1, 1}), QRect(22, 22, 37, 52));
    EXPECT_EQ(twipsToPixels({30, 30, 30, 30}, Twips{12, 12}), QRect(2, 2, 2, 2)); // 2.5 -> 2
}
