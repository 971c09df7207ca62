#pragma once

namespace quorvex {

// Waits `seconds`. Where standard error is a terminal, the seconds left count down on one line there
// ("quorvex7: grabbing in 3 s"), which is cleared at the end; elsewhere nothing is written.
void waitCountingDown(double seconds, const char* what);

} // namespace quorvex
