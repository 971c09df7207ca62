#include "output/safe_file_replace.h"

#include "output/unfinished_files.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QVarLengthArray>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <optional>
#include <pthread.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

namespace quorvex {

namespace {

QByteArray freshTemporaryName(const QByteArray& folder)
{
    return folder + "/.quorvex7-save-" + QByteArray::number(QRandomGenerator::global()->generate64(), 36);
}

// A new file in the target's folder that gets a name only once it is complete: an unnamed file
// (O_TMPFILE) linked in just before the rename, so a signal that ends the program mid-save leaves
// nothing behind. Where the file system has no unnamed files, a named one from the start, which a
// program's signal handler can remove (removeUnfinishedFiles). Removed unless renamed into place.
class TemporaryFile {
public:
    explicit TemporaryFile(const QString& folder)
        : folder_(QFile::encodeName(folder))
    {
        // 0666 lets the umask decide a new file's permissions, as for any other new file.
        fd_ = ::open(folder_.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
        if (fd_ >= 0)
            return;
        for (int attempt = 0; attempt < 100; ++attempt) {
            name_ = freshTemporaryName(folder_);
            fd_ = ::open(name_.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            openError_ = fd_ < 0 ? errno : 0;
            if (openError_ != EEXIST)
                break;
        }
        if (fd_ >= 0)
            remembered_.emplace(name_.constData());
        else
            name_.clear();
    }
    ~TemporaryFile()
    {
        if (fd_ >= 0)
            ::close(fd_);
        if (!name_.isEmpty() && !renamed_)
            ::unlink(name_.constData());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    int fd() const { return fd_; }
    int openError() const { return openError_; }

    // Closes the file and renames it over `target`.
    int closeAndRenameTo(const QByteArray& target)
    {
        if (name_.isEmpty())
            if (const int error = linkUnnamed())
                return error;
        const int closed = ::close(fd_);
        fd_ = -1;
        if (closed != 0)
            return errno;
        if (::rename(name_.constData(), target.constData()) != 0)
            return errno;
        renamed_ = true;
        return 0;
    }

private:
    int linkUnnamed()
    {
        const QByteArray self = "/proc/self/fd/" + QByteArray::number(fd_);
        for (int attempt = 0; attempt < 100; ++attempt) {
            remembered_.reset();
            name_ = freshTemporaryName(folder_);
            remembered_.emplace(name_.constData()); // before the link: a signal may come at once
            // Linking a descriptor needs a privilege; its /proc name works for everyone.
            if (::linkat(fd_, "", AT_FDCWD, name_.constData(), AT_EMPTY_PATH) == 0
                || ::linkat(AT_FDCWD, self.constData(), AT_FDCWD, name_.constData(), AT_SYMLINK_FOLLOW) == 0)
                return 0;
            const int error = errno;
            name_.clear();
            remembered_.reset();
            if (error != EEXIST)
                return error;
        }
        return EEXIST;
    }

    QByteArray folder_;
    QByteArray name_; // empty while the file has no name
    std::optional<UnfinishedFileName> remembered_;
    int fd_ = -1;
    int openError_ = 0;
    bool renamed_ = false;
};

// Blocks SIGXFSZ in this thread while writing, so a file-size limit fails the write with EFBIG
// instead of killing the program, whatever the program does with the signal otherwise. The signal
// the kernel sent with that EFBIG is taken back before the thread sees it.
class FileSizeSignalHeld {
public:
    FileSizeSignalHeld()
    {
        sigemptyset(&signal_);
        sigaddset(&signal_, SIGXFSZ);
        pthread_sigmask(SIG_BLOCK, &signal_, &before_);
        sigset_t pending;
        sigpending(&pending);
        wasPending_ = sigismember(&pending, SIGXFSZ) == 1;
    }
    ~FileSizeSignalHeld()
    {
        sigset_t pending;
        sigpending(&pending);
        if (!wasPending_ && sigismember(&pending, SIGXFSZ) == 1) {
            const timespec now{};
            sigtimedwait(&signal_, nullptr, &now);
        }
        pthread_sigmask(SIG_SETMASK, &before_, nullptr);
    }
    FileSizeSignalHeld(const FileSizeSignalHeld&) = delete;
    FileSizeSignalHeld& operator=(const FileSizeSignalHeld&) = delete;

private:
    sigset_t signal_;
    sigset_t before_;
    bool wasPending_ = false;
};

int writeAll(int fd, std::initializer_list<QByteArrayView> parts)
{
    const FileSizeSignalHeld held;
    QVarLengthArray<iovec, 4> pending;
    for (QByteArrayView part : parts)
        if (!part.isEmpty())
            pending.append({const_cast<char*>(part.data()), size_t(part.size())});
    iovec* next = pending.data();
    int left = int(pending.size());
    while (left > 0) {
        const ssize_t written = ::writev(fd, next, left);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        size_t done = size_t(written);
        while (left > 0 && done >= next->iov_len) {
            done -= next->iov_len;
            ++next;
            --left;
        }
        if (left > 0) {
            next->iov_base = static_cast<char*>(next->iov_base) + done;
            next->iov_len -= done;
        }
    }
    return 0;
}

// Gives the new file what the old one had. Owner first: changing it may clear set-user-ID bits.
int copyAttributes(int fd, const struct stat& old)
{
    if (::fchown(fd, old.st_uid, old.st_gid) != 0 && errno != EPERM)
        return errno;
    if (::fchmod(fd, old.st_mode & 07777) != 0)
        return errno;
    const timespec times[2] = {old.st_atim, old.st_mtim};
    return ::futimens(fd, times) == 0 ? 0 : errno;
}

} // namespace

QString FileWriteResult::message() const
{
    return readOnlyFile ? kReadOnlyFileReason : qt_error_string(error);
}

bool isReadOnlyFile(const QString& path)
{
    struct stat file { };
    // stat follows a symbolic link: its target is what would be replaced.
    return !path.isEmpty() && ::stat(QFile::encodeName(path).constData(), &file) == 0 && S_ISREG(file.st_mode)
        && (file.st_mode & S_IWUSR) == 0;
}

FileWriteResult replaceFileContents(const QString& path, std::initializer_list<QByteArrayView> parts)
{
    if (path.isEmpty())
        return {ENOENT};
    const QFileInfo link(path);
    const QString target = link.isSymLink() ? link.symLinkTarget() : link.absoluteFilePath();
    const QByteArray targetName = QFile::encodeName(target);

    struct stat old { };
    const bool replacing = ::stat(targetName.constData(), &old) == 0;
    if (!replacing && errno != ENOENT)
        return {errno};
    if (replacing && !S_ISREG(old.st_mode))
        return {S_ISDIR(old.st_mode) ? EISDIR : EINVAL};
    if (replacing && (old.st_mode & S_IWUSR) == 0)
        return {EACCES, true}; // refused even where the permission would not stop us (root)

    TemporaryFile temporary(QFileInfo(target).absolutePath());
    if (temporary.fd() < 0)
        return {temporary.openError()};
    if (const int error = writeAll(temporary.fd(), parts))
        return {error};
    if (replacing)
        if (const int error = copyAttributes(temporary.fd(), old))
            return {error};
    // No fsync: the rename already makes a failed write harmless to the old file, and a sync costs
    // more than the whole save on a disk. Ext4 flushes a file renamed over another before the
    // rename reaches the journal (auto_da_alloc), which covers the power-loss case there.
    return {temporary.closeAndRenameTo(targetName)};
}

} // namespace quorvex
