#pragma once

#include "app/command_line.h"

#include <QByteArray>

namespace quorvex {

// Where the command-line grab stands: the environment it reads (so tests can set it).
struct GrabEnvironment {
    QByteArray display; // DISPLAY
    QByteArray waylandDisplay; // WAYLAND_DISPLAY
    QByteArray sessionType; // XDG_SESSION_TYPE

    static GrabEnvironment fromProcess();
};

// The reason a grab cannot even start in this environment, or empty.
QString unreadableScreenReason(const GrabEnvironment& environment);

// `quorvex7 --grab FILE|FOLDER|- [--region WxH+X+Y] [--delay SECONDS] [--format F] [--quality N]`:
// reads the screen over xcb and writes FILE (replaced safely), a new file in FOLDER named after the
// moment (never replacing one), or standard output. The format is --format's, else the last three
// characters of FILE's name (PNG, JPG or BMP), else PNG. No window, no widget. Returns the exit
// status; every failure is one line on `errorLine`.
int runCommandLineGrab(const CommandLine& command, const GrabEnvironment& environment, QString& errorLine);

} // namespace quorvex
