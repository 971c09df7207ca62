#pragma once

#include <QPoint>

namespace quorvex {

// When the overlay grabs by itself: half a second after the last of a run of resizes (Timer1, a
// one-shot that each resize restarts), and at the first move-timer tick (tmrMove, every second) that
// finds the window where the tick before found it after a move, unless a resize grab was already
// due. Holds only the decisions; the overlay runs the real timers and mirrors resizeTimerRunning().
class OverlayTimers {
public:
    static constexpr int kResizeDelayMs = 500;
    static constexpr int kMoveIntervalMs = 1000;

    // End of the load handling: the window's position (twips) as the move timer will first compare.
    void loaded(QPoint windowPosition);

    // A size change: Timer1 stops, and starts a new count when the overlay is loaded.
    void windowResized(bool overlayLoaded);

    // Timer1's tick: it stops. True: grab now.
    bool resizeTimerTicked();

    // tmrMove's tick with the window's current position (twips). True: grab now.
    bool moveTimerTicked(QPoint windowPosition);

    // Unload: nothing may be due any more.
    void stop();

    bool resizeTimerRunning() const { return m_timer1Running; }
    bool grabPending() const { return GrabPending; }
    QPoint lastPosition() const { return {LastLeft, LastTop}; }

private:
    bool m_timer1Running = false;
    bool GrabPending = false;
    int LastLeft = 0;
    int LastTop = 0;
};

} // namespace quorvex
