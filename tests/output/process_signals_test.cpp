#include "output/process_signals.h"
#include "output/unfinished_files.h"

#include <QByteArray>
#include <QTemporaryDir>
#include <csignal>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace quorvex;

// In a child process, as each program sets them up: a file-size limit is a failed write, and a
// terminating signal first deletes the save's unfinished file.
TEST(ProcessSignals, ASignalDeletesTheUnfinishedFileAndAFileSizeLimitFailsTheWrite)
{
    QTemporaryDir dir;
    const QByteArray unfinished = dir.filePath(".quorvex7-save-x").toLocal8Bit();
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            setUpProcessSignals();
            const int fd = ::open(unfinished.constData(), O_WRONLY | O_CREAT, 0600);
            const rlimit limit{4, RLIM_INFINITY};
            ::setrlimit(RLIMIT_FSIZE, &limit);
            if (fd < 0 || ::write(fd, "too long", 8) != 4 || ::write(fd, "more", 4) >= 0 || errno != EFBIG)
                _exit(1);
            const UnfinishedFileName remembered(unfinished.constData());
            ::kill(::getpid(), signal);
            _exit(2); // not reached: the signal ends the process
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << signal << ": status " << status;
        EXPECT_NE(::access(unfinished.constData(), F_OK), 0) << signal;
    }
}
