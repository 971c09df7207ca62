#include "app/command_line.h"
#include "app/command_line_grab.h"
#include "app/process_signals.h"

#include <QDir>
#include <QFileInfo>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <unistd.h>

// quorvex7: a command-line grab runs here, with no GUI library loaded at all; anything else starts
// the window program beside this one.
int main(int argc, char** argv)
{
    using Action = quorvex::CommandLine::Action;
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const quorvex::CommandLine command = quorvex::parseCommandLine(arguments);

    switch (command.action) {
    case Action::StartWindow: {
        if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
            std::fprintf(stderr,
                "quorvex7: no display to open the window on; under Xvfb: "
                "Xvfb :1 -screen 0 1920x1080x24 -dpi 96 & DISPLAY=:1 quorvex7\n");
            return 1;
        }
        const QString self = QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget();
        const QByteArray window
            = QFile::encodeName(QFileInfo(self).dir().filePath(QStringLiteral("quorvex7-window")));
        execv(window.constData(), argv);
        std::fprintf(stderr, "quorvex7: cannot start %s: %s\n", window.constData(), std::strerror(errno));
        return 1;
    }
    case Action::Help:
        std::fputs(qPrintable(quorvex::commandLineHelp()), stdout);
        return 0;
    case Action::Version:
        std::printf("quorvex7 %s\n", QUORVEX_VERSION);
        return 0;
    case Action::Error:
        std::fprintf(stderr, "quorvex7: %s (see --help)\n", qPrintable(command.error));
        return 2;
    case Action::Grab:
        break;
    }
    quorvex::setUpProcessSignals();
    // A reader of standard output that goes away is a failure the grab reports, not a silent end.
    std::signal(SIGPIPE, SIG_IGN);
    QString error;
    const int status = quorvex::runCommandLineGrab(command, quorvex::GrabEnvironment::fromProcess(), error);
    if (status != 0)
        std::fprintf(stderr, "quorvex7: %s\n", qPrintable(error));
    return status;
}
