#include "output/process_signals.h"

#include "output/unfinished_files.h"

#include <csignal>
#include <initializer_list>

namespace quorvex {

namespace {

void removeUnfinishedFilesAndEnd(int signal)
{
    removeUnfinishedFiles();
    // The handler was reset on entry: the signal now does what it would have done.
    std::raise(signal);
}

} // namespace

void setUpProcessSignals()
{
    struct sigaction ignore { };
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    sigaction(SIGXFSZ, &ignore, nullptr);

    for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
        struct sigaction before { };
        if (sigaction(signal, nullptr, &before) != 0 || before.sa_handler == SIG_IGN)
            continue;
        struct sigaction cleanup { };
        cleanup.sa_handler = &removeUnfinishedFilesAndEnd;
        cleanup.sa_flags = SA_RESETHAND | SA_NODEFER;
        sigemptyset(&cleanup.sa_mask);
        sigaction(signal, &cleanup, nullptr);
    }
}

} // namespace quorvex
