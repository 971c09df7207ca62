#include "capture/overlay_timers.h"

namespace quorvex {

void OverlayTimers::loaded(QPoint windowPosition)
{
    LastLeft = windowPosition.x();
    LastTop = windowPosition.y();
}

void OverlayTimers::windowResized(bool overlayLoaded)
{
    // Notifications during the load handling only stop the count.
    m_timer1Running = overlayLoaded;
}

bool OverlayTimers::resizeTimerTicked()
{
    if (!m_timer1Running)
        return false;
    m_timer1Running = false;
    return true;
}

bool OverlayTimers::moveTimerTicked(QPoint windowPosition)
{
    if (windowPosition != lastPosition()) {
        LastLeft = windowPosition.x();
        LastTop = windowPosition.y();
        // A resize grab already due will see the new place; no second grab for this move.
        GrabPending = !m_timer1Running;
        return false;
    }
    if (!GrabPending)
        return false;
    GrabPending = false;
    return true;
}

void OverlayTimers::stop()
{
    m_timer1Running = false;
    GrabPending = false;
}

} // namespace quorvex
