#include "output/print_fit.h"

#include <gtest/gtest.h>
#include <limits>

using namespace quorvex;

TEST(PrintFit, OrientationFollowsTheLongerSideAndTheFitKeepsTheAspectRatio)
{
    EXPECT_EQ(orientationFor(20000, 10000), PageOrientation::Landscape);
    EXPECT_EQ(orientationFor(10000, 10000), PageOrientation::Portrait); // a square is portrait

    const struct {
        double width, height;
        float areaWidth, areaHeight;
        PrintSize expected;
    } cases[] = {
        {10000, 20000, 19000, 27000, {13500, 27000}}, // relatively higher: full height
        {100000, 10, 27000, 19000, {27000, 2.7f}}, // very wide: a strip across the top
    };
    for (const auto& c : cases) {
        const std::optional<PrintSize> fitted
            = fitToPrintableArea(c.width, c.height, c.areaWidth, c.areaHeight);
        ASSERT_TRUE(fitted.has_value());
        EXPECT_FLOAT_EQ(fitted->width, c.expected.width) << c.width << "x" << c.height;
        EXPECT_FLOAT_EQ(fitted->height, c.expected.height) << c.width << "x" << c.height;
    }
}

TEST(PrintFit, NothingFitsWithoutAWidthOrHeight)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const float infinity = std::numeric_limits<float>::infinity();
    const struct {
        double width, height;
        float areaWidth, areaHeight;
    } cases[] = {{100, 0, 27000, 19000}, {100, 100, 0, 19000}, {-5, 100, 27000, 19000},
        {nan, 100, 27000, 19000}, {100, 100, infinity, 19000}};
    for (const auto& c : cases)
        EXPECT_FALSE(fitToPrintableArea(c.width, c.height, c.areaWidth, c.areaHeight).has_value())
            << c.width << "x" << c.height << " on " << c.areaWidth << "x" << c.areaHeight;
}
