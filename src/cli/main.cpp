#include "cli/command_line.h"
#include "cli/command_line_grab.h"
#include "cli/grab_area.h"
#include "cli/message_line.h"
#include "common/this_process.h"
#include "output/numbered_error.h"
#include "output/process_signals.h"
#include "platform/clipboard_keeper.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <unistd.h>

namespace {

// Puts /dev/null on each of descriptors 0 to 2 that the program was started without, so that
// nothing opened later (the X connection, a file) takes that number and gets what is meant for
// standard output or standard error. Whether descriptor 1 was closed; false as well when /dev/null
// cannot be opened, and then `usable` is false: nothing may be opened safely.
bool fillClosedStandardDescriptors(bool& usable)
{
    bool outputClosed = false;
    usable = true;
    for (int fd = 0; fd <= 2; ++fd) {
        if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF)
            continue;
        outputClosed |= fd == STDOUT_FILENO;
        // The lowest free number: `fd` itself, those below it being open now.
        if (::open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY) != fd)
            usable = false;
    }
    return outputClosed;
}

int failure(const std::string& line, int status = 1)
{
    std::fprintf(stderr, "quorvex7: %s\n", quorvex::oneLine(line).c_str());
    return status;
}

// Writes `text` for whoever reads standard output: 0, else the failure's status. Closed, it was
// given /dev/null, which would swallow the text unseen.
int written(const std::string& text, bool outputClosed)
{
    if (outputClosed)
        return failure("standard output is closed: nothing could be written to it");
    std::fputs(text.c_str(), stdout);
    return std::fflush(stdout) == 0 ? 0 : failure("cannot write to standard output");
}

} // namespace

// quorvex7: a command-line grab runs here, with no GUI library loaded at all; anything else starts
// the window program beside this one.
int main(int argc, char** argv)
{
    using Action = quorvex::CommandLine::Action;
    bool descriptorsUsable = true;
    const bool outputClosed = fillClosedStandardDescriptors(descriptorsUsable);
    if (!descriptorsUsable)
        return 1;
    if (argc > 0)
        quorvex::setProgramName(argv[0]);
    // The window program's clipboard, kept after it ends (an internal mode, not for users).
    if (argc > 1 && std::strcmp(argv[1], quorvex::kKeepClipboardOption) == 0)
        return quorvex::keepClipboardMain(argc, argv);
    const quorvex::CommandLine command = quorvex::parseCommandLine({argv, argv + argc});

    switch (command.action) {
    case Action::StartWindow: {
        if (quorvex::environmentValue("DISPLAY").empty()
            && quorvex::environmentValue("WAYLAND_DISPLAY").empty())
            return failure("no display to open the window on; under Xvfb: "
                           "Xvfb :1 -screen 0 1920x1080x24 -dpi 96 & DISPLAY=:1 quorvex7");
        const std::string window = quorvex::programFolder() + "quorvex7-window"; // installed beside this one
        execv(window.c_str(), argv);
        return failure("cannot start " + window + ": " + std::strerror(errno));
    }
    case Action::Help:
        return written(quorvex::commandLineHelp(), outputClosed);
    case Action::Version:
        return written(std::string("quorvex7 ") + QUORVEX_VERSION + "\n", outputClosed);
    case Action::Error:
        return failure(command.error + " (see --help)", 2);
    case Action::ListOutputs: {
        quorvex::SessionEnvironment session = quorvex::SessionEnvironment::fromProcess();
        if (!command.screen.empty())
            session.forcedSource = command.screen;
        const quorvex::Result<std::string> lines = quorvex::listOutputs(session);
        if (!lines)
            return failure(lines.error());
        return written(*lines, outputClosed);
    }
    case Action::Grab:
        break;
    }
    if (outputClosed && command.file == "-")
        return failure("standard output is closed: pipe the picture on or redirect it to a file");
    if (outputClosed && command.print)
        return failure("standard output is closed: nothing could be written to it");
    quorvex::setUpProcessSignals();
    // A reader of standard output that goes away is a failure the grab reports, not a silent end.
    std::signal(SIGPIPE, SIG_IGN);
    quorvex::SessionEnvironment session = quorvex::SessionEnvironment::fromProcess();
    if (!command.screen.empty())
        session.forcedSource = command.screen;
    const quorvex::GrabOutcome outcome = quorvex::runCommandLineGrab(command, session);
    return outcome.status == 0 ? 0 : failure(outcome.errorLine, outcome.status);
}
