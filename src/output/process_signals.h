#pragma once

namespace quorvex {

// How both programs meet signals, set once at the start of main: a file-size limit (ulimit -f)
// fails the write with EFBIG instead of killing the program, and SIGINT, SIGTERM and SIGHUP first
// delete a save's unfinished temporary file, then end the program as they would have. A signal
// that was ignored when the program started (nohup) stays ignored.
void setUpProcessSignals();

} // namespace quorvex
