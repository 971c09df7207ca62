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

// `quorvex7 --grab FILE [--region WxH+X+Y] [--delay SECONDS]`: reads the screen over xcb and writes
// FILE as BMP or JPEG (quality 90) by the last three characters of its name, as Save As does. No
// window, no widget. Returns the exit status; every failure is one line on `errorLine`.
int runCommandLineGrab(const CommandLine& command, const GrabEnvironment& environment, QString& errorLine);

} // namespace quorvex
