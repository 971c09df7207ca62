#include "common/numeric.h"

#include <QPoint>
#include <gtest/gtest.h>
#include <limits>

using namespace quorvex;

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbourAndOddValuesSaturate)
{
    const struct {
        double in;
        int out;
    } cases[] = {{150.5, 150}, {151.5, 152}, {-0.5, 0}, {-1.5, -2}, {2.4999, 2}, {2.5001, 3}, {-7.6, -8},
        {1e300, std::numeric_limits<int>::max()}, {-1e300, std::numeric_limits<int>::min()},
        {std::numeric_limits<double>::infinity(), std::numeric_limits<int>::max()},
        {std::numeric_limits<double>::quiet_NaN(), 0}};
    for (const auto& c : cases)
        EXPECT_EQ(roundHalfEven(c.in), c.out) << c.in;
}

TEST(IntegerDivide, RoundsBothOperandsThenTruncates)
{
    EXPECT_EQ(integerDivide(29.5, 15), 2); // 29.5 rounds to 30 first
    EXPECT_EQ(integerDivide(28.5, 15), 1); // 28.5 rounds to 28, 1.87 truncated
    EXPECT_EQ(integerDivide(-31, 15), -2);
    EXPECT_EQ(integerDivide(7, 2.5), 3); // divisor 2.5 rounds to 2
    EXPECT_EQ(integerDivide(7, 0.4), 0); // divisor rounds to 0: no division
}

TEST(LeadingNumber, ReadsTheLeadingNumericPartOnly)
{
    const struct {
        const char16_t* text;
        double value;
    } cases[] = {{u"250px", 250}, {u"px", 0}, {u"", 0}, {u" 12", 12}, {u"-3", -3}, {u"1e2", 100}, {u"+7", 7},
        {u".5", 0.5}, {u"5.", 5}, {u"1e+", 1}, {u"2E-1x", 0.2}, {u"- 3", 0}, {u"\t4", 4}, {u"12 34", 12},
        {u"1e999", 0}};
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(leadingNumber(QStringView(c.text)), c.value)
            << QString::fromUtf16(c.text).toStdString();
}

TEST(FormatSingle, UpToSevenSignificantDigitsWithoutPointWhenWhole)
{
    EXPECT_EQ(formatSingle(1234567.0f), "1234567"); // shorter values are checked in the titles
}

// Whole pixels of a scaled screen come out exact even where twips per pixel are no whole number.
TEST(Twips, FollowTheLogicalDpiAndTheScaleOfTheScreen)
{
    const Twips at120 = Twips::fromDpi(120, 144);
    EXPECT_EQ(QPoint(at120.perPixelX, at120.perPixelY), QPoint(12, 10));
    EXPECT_EQ(Twips::fromDpi(0, -1).perPixelX, 15); // nonsense from the platform keeps the default
    const struct {
        double ratio;
        double perPixel;
        int screenWidth; // device pixels of a 1280-logical-pixel screen
    } cases[] = {{1, 15, 1280}, {1.25, 12, 1600}, {1.5, 10, 1920}, {1.75, 15 / 1.75, 2240}, {2, 7.5, 2560}};
    for (const auto& c : cases) {
        const Twips device = Twips::fromDpi(96, 96).perDevicePixel(c.ratio);
        EXPECT_DOUBLE_EQ(device.perPixelX, c.perPixel) << c.ratio;
        EXPECT_EQ(device.wholePixelsX(1280 * 15), c.screenWidth) << c.ratio;
    }
    // Fractions are truncated, a divisor under a half gives 0 and nonsense ratios keep the default.
    EXPECT_EQ(wholePixels(22, 7.5), 2);
    EXPECT_EQ(wholePixels(100, 0.4), 0);
    EXPECT_EQ(Twips{}.perDevicePixel(0).perPixelX, 15);
    EXPECT_EQ(Twips{}.perDevicePixel(std::numeric_limits<double>::quiet_NaN()).perPixelX, 15);
}
