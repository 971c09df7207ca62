#include "capture/overlay_timers.h"

#include <gtest/gtest.h>
#include <vector>

using namespace quorvex;

namespace {

// What the user does to the loaded overlay at a moment (ms after load).
struct UserAction {
    int at;
    bool resize; // a size change (a left or top edge resize also moves)
    QPoint position; // where the window is afterwards (twips)
};

// The overlay's two timers on simulated milliseconds, driven as the overlay does; the grab moments.
std::vector<int> grabTimes(const std::vector<UserAction>& actions, int until)
{
    OverlayTimers timers;
    QPoint position(3000, 1500);
    timers.loaded(position);
    int timer1Due = -1; // when Timer1 ticks; -1 while it is stopped
    std::vector<int> grabs;
    for (int now = 0; now <= until; ++now) {
        for (const UserAction& action : actions) {
            if (action.at != now)
                continue;
            position = action.position;
            if (action.resize) {
                timers.windowResized(true);
                timer1Due = timers.resizeTimerRunning() ? now + OverlayTimers::kResizeDelayMs : -1;
            }
        }
        if (timer1Due == now) {
            timer1Due = -1;
            if (timers.resizeTimerTicked())
                grabs.push_back(now);
        }
        if (now > 0 && now % OverlayTimers::kMoveIntervalMs == 0 && timers.moveTimerTicked(position))
            grabs.push_back(now);
    }
    return grabs;
}

const QPoint kHome(3000, 1500);
const QPoint kMoved(3300, 1650);
const QPoint kMovedFurther(3600, 1800);

} // namespace

TEST(OverlayTimers, GrabHalfASecondAfterResizingOrOnceTheWindowStaysPut)
{
    const struct {
        const char* name;
        std::vector<UserAction> actions;
        std::vector<int> grabs;
    } scenarios[] = {
        {"each resize restarts the count: one grab 500 ms after the last",
            {{100, true, kHome}, {300, true, kHome}, {500, true, kHome}}, {1000}},
        {"a drag ending between ticks: 2000 sees the move, 3000 finds it still",
            {{1200, false, kMoved}, {1400, false, kMovedFurther}}, {3000}},
        {"no grab until a tick finds it where the one before did",
            {{900, false, kMoved}, {1900, false, kMovedFurther}, {2900, false, kMoved}}, {4000}},
        {"left-edge resize seen by the move timer after the resize grab", {{2300, true, kMoved}},
            {2800, 4000}},
        {"left-edge resize seen while Timer1 runs: the resize grab only", {{2700, true, kMoved}}, {3200}},
        {"a pending move grab is dropped by a further move seen while Timer1 runs",
            {{1500, false, kMoved}, {2800, true, kMovedFurther}}, {3300}},
    };
    for (const auto& scenario : scenarios)
        EXPECT_EQ(grabTimes(scenario.actions, 6000), scenario.grabs) << scenario.name;
}
