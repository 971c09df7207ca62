#include "app/grab_wait.h"

#include <gtest/gtest.h>

using namespace quorvex;
using namespace std::chrono_literals;

// The wait itself, across midnight, is measured in the main window's whole-screen grab test.
TEST(WholeSecondWait, WaitsUntilTheSecondAfterTheRoundedClock)
{
    const struct {
        double start;
        std::chrono::milliseconds wait;
    } cases[] = {{10.4, 600ms}, {10.6, 1400ms}, {10.5, 500ms}, {11.5, 1500ms}, {0.0, 1000ms},
        {86399.2, 800ms}, {86399.6, 1400ms}};
    for (const auto& c : cases)
        EXPECT_EQ(wholeSecondWait(c.start), c.wait) << c.start;
}
