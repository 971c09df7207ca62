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

// Runs the overlay's two timers on simulated time, one millisecond at a time, the way the overlay
// drives them: each resize restarts the 500 ms one-shot, the move timer ticks every 1000 ms from
// load. Returns the moments at which a grab happens.
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
        // Each resize restarts the count: one grab, 500 ms after the last.
        {"three resizes 200 ms apart", {{100, true, kHome}, {300, true, kHome}, {500, true, kHome}}, {1000}},
        // A drag ending between ticks 1000 and 2000: the 2000 tick sees the move, 3000 finds it still.
        {"drag ends between ticks", {{1200, false, kMoved}, {1400, false, kMovedFurther}}, {3000}},
        // Still moving at a tick: no grab until a tick finds it where the one before did.
        {"move across several ticks",
            {{900, false, kMoved}, {1900, false, kMovedFurther}, {2900, false, kMoved}}, {4000}},
        // Left-edge resize seen by the move timer only after the resize grab: a second grab follows.
        {"left-edge resize grabbed before the tick", {{2300, true, kMoved}}, {2800, 4000}},
        // Seen while Timer1 still runs: only the resize grab.
        {"left-edge resize seen during Timer1", {{2700, true, kMoved}}, {3200}},
        // A pending move grab is dropped by a tick that sees a further move while Timer1 runs.
        {"pending move cleared by a resize that moves", {{1500, false, kMoved}, {2800, true, kMovedFurther}},
            {3300}},
    };
    for (const auto& scenario : scenarios)
        EXPECT_EQ(grabTimes(scenario.actions, 6000), scenario.grabs) << scenario.name;
}
