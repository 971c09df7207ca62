#include "cli/command_line.h"
#include "cli/command_line_grab.h"
#include "output/numbered_error.h"
#include "output/process_signals.h"

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

namespace {

// The window program, installed beside this one.
std::string windowProgram()
{
    char self[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", self, sizeof self - 1);
    std::string folder = length > 0 ? std::string(self, size_t(length)) : std::string();
    folder.erase(folder.find_last_of('/') + 1);
    return folder + "quorvex7-window";
}

} // namespace

// quorvex7: a command-line grab runs here, with no GUI library loaded at all; anything else starts
// the window program beside this one.
int main(int argc, char** argv)
{
    using Action = quorvex::CommandLine::Action;
    if (argc > 0)
        quorvex::setProgramName(argv[0]);
    const quorvex::CommandLine command = quorvex::parseCommandLine({argv, argv + argc});

    switch (command.action) {
    case Action::StartWindow: {
        const char* display = std::getenv("DISPLAY");
        const char* wayland = std::getenv("WAYLAND_DISPLAY");
        if ((!display || !*display) && (!wayland || !*wayland)) {
            std::fprintf(stderr,
                "quorvex7: no display to open the window on; under Xvfb: "
                "Xvfb :1 -screen 0 1920x1080x24 -dpi 96 & DISPLAY=:1 quorvex7\n");
            return 1;
        }
        const std::string window = windowProgram();
        execv(window.c_str(), argv);
        std::fprintf(stderr, "quorvex7: cannot start %s: %s\n", window.c_str(), std::strerror(errno));
        return 1;
    }
    case Action::Help:
        std::fputs(quorvex::commandLineHelp(), stdout);
        return 0;
    case Action::Version:
        std::printf("quorvex7 %s\n", QUORVEX_VERSION);
        return 0;
    case Action::Error:
        std::fprintf(stderr, "quorvex7: %s (see --help)\n", command.error.c_str());
        return 2;
    case Action::Grab:
        break;
    }
    quorvex::setUpProcessSignals();
    // A reader of standard output that goes away is a failure the grab reports, not a silent end.
    std::signal(SIGPIPE, SIG_IGN);
    quorvex::SessionEnvironment session = quorvex::SessionEnvironment::fromProcess();
    if (!command.screen.empty())
        session.forcedSource = command.screen;
    const quorvex::GrabOutcome outcome = quorvex::runCommandLineGrab(command, session);
    if (outcome.status != 0)
        std::fprintf(stderr, "quorvex7: %s\n", outcome.errorLine.c_str());
    return outcome.status;
}
