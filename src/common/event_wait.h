#pragma once

#include <functional>

class QEvent;
class QObject;

namespace quorvex {

// Runs `start`, then lets events run until `target` gets an event that `wanted` accepts, for at most
// a second: what the display sends back about a window comes a moment after it was asked. The
// watch begins before `start`, so an event it causes at once is not missed.
void waitForEvent(QObject& target, const std::function<bool(const QEvent&)>& wanted,
    const std::function<void()>& start = {});

} // namespace quorvex
