#pragma once

#include <csignal>

namespace quorvex {

// How both programs meet signals, set once at the start of main: a file-size limit (ulimit -f)
// fails the write with EFBIG instead of killing the program, and SIGINT, SIGTERM and SIGHUP first
// delete a save's unfinished temporary file, then end the program as they would have. A signal
// that was ignored when the program started (nohup) stays ignored.
void setUpProcessSignals();

// Holds SIGINT, SIGTERM and SIGHUP back in this thread while it lives; one that came meanwhile is
// handled when it ends. So a file is made and remembered as unfinished (UnfinishedFileName) in one
// step, and no signal finds it made but not yet remembered.
class EndingSignalsHeld {
public:
    EndingSignalsHeld();
    ~EndingSignalsHeld();
    EndingSignalsHeld(const EndingSignalsHeld&) = delete;
    EndingSignalsHeld& operator=(const EndingSignalsHeld&) = delete;

private:
    sigset_t m_before;
};

} // namespace quorvex
