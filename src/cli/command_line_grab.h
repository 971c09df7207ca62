#pragma once

#include "cli/command_line.h"
#include "platform/screen_backend.h"

#include <string>

namespace quorvex {

// What a command-line grab ends with: exit status 0, or 1 with one line saying why.
struct GrabOutcome {
    int status = 0;
    std::string errorLine;
};

// `quorvex7 --grab FILE|FOLDER|- [--region WxH+X+Y] [--delay SECONDS] [--format F] [--quality N]`:
// reads the screen of `session` and writes FILE (replaced safely), a new file in FOLDER named
// after the moment (never replacing one), or standard output. The format is --format's, else the
// last three characters of FILE's name (PNG, JPG or BMP), else PNG. No window, no GUI library.
GrabOutcome runCommandLineGrab(const CommandLine& command, const SessionEnvironment& session);

} // namespace quorvex
