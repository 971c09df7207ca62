#include "output/process_signals.h"

#include "output/unfinished_files.h"

#include <csignal>
#include <initializer_list>
#include <pthread.h>

namespace quorvex {

namespace {

constexpr int kEndingSignals[] = {SIGINT, SIGTERM, SIGHUP};

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

    for (int signal : kEndingSignals) {
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

EndingSignalsHeld::EndingSignalsHeld()
{
    sigset_t held;
    sigemptyset(&held);
    for (int signal : kEndingSignals)
        sigaddset(&held, signal);
    pthread_sigmask(SIG_BLOCK, &held, &m_before);
}

EndingSignalsHeld::~EndingSignalsHeld()
{
    pthread_sigmask(SIG_SETMASK, &m_before, nullptr);
}

} // namespace quorvex
