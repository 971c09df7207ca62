#include "app/grab_wait.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <gtest/gtest.h>

using namespace quorvex;
using namespace std::chrono_literals;

TEST(WholeSecondWait, WaitsUntilTheSecondAfterTheRoundedClock)
{
    const struct {
        double start;
        double until;
    } cases[] = {{10.4, 11.0}, {10.6, 12.0}, {10.5, 11.0}, {11.5, 13.0}, {0.0, 1.0}, {86399.2, 86400.0}};
    for (const auto& c : cases)
        EXPECT_EQ(wholeSecondWait(c.start).count(), std::llround((c.until - c.start) * 1000)) << c.start;
}

TEST(WholeSecondWait, EndsAcrossMidnight)
{
    // The clock wraps to 0 at midnight; the wait's length is fixed before it starts, so it ends.
    EXPECT_EQ(wholeSecondWait(86399.6), 1400ms);
    EXPECT_EQ(wholeSecondWait(86399.5), 1500ms);
    EXPECT_EQ(wholeSecondWait(86399.9), 1100ms);
}

TEST(WaitWithEvents, RunsEventsAndLastsAtLeastTheDuration)
{
    int argc = 0;
    QCoreApplication app(argc, nullptr);
    bool ran = false;
    QTimer::singleShot(0, [&] { ran = true; });
    QElapsedTimer elapsed;
    elapsed.start();
    waitWithEvents(60ms);
    EXPECT_TRUE(ran);
    EXPECT_GE(elapsed.elapsed(), 60);
}
