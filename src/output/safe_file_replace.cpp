#include "output/safe_file_replace.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QVarLengthArray>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

namespace quorvex {

namespace {

void ignoreFileSizeSignal()
{
    static const bool ignored = [] {
        struct sigaction action { };
        action.sa_handler = SIG_IGN;
        sigemptyset(&action.sa_mask);
        return sigaction(SIGXFSZ, &action, nullptr) == 0;
    }();
    Q_UNUSED(ignored);
}

// A freshly created file in the target's folder, removed again unless it was renamed into place.
class TemporaryFile {
public:
    explicit TemporaryFile(const QString& folder)
    {
        for (int attempt = 0; attempt < 100; ++attempt) {
            name_ = QFile::encodeName(folder + QStringLiteral("/.quorvex7-save-")
                + QString::number(QRandomGenerator::global()->generate64(), 36));
            // 0666 lets the umask decide a new file's permissions, as for any other new file.
            fd_ = ::open(name_.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            openError_ = fd_ < 0 ? errno : 0;
            if (openError_ != EEXIST)
                break;
        }
        created_ = fd_ >= 0;
    }
    ~TemporaryFile()
    {
        if (fd_ >= 0)
            ::close(fd_);
        if (created_ && !renamed_)
            ::unlink(name_.constData());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    int fd() const { return fd_; }
    int openError() const { return openError_; }

    int close()
    {
        const int result = ::close(fd_);
        fd_ = -1;
        return result == 0 ? 0 : errno;
    }

    int renameTo(const QByteArray& target)
    {
        if (::rename(name_.constData(), target.constData()) != 0)
            return errno;
        renamed_ = true;
        return 0;
    }

private:
    QByteArray name_;
    int fd_ = -1;
    int openError_ = 0;
    bool created_ = false;
    bool renamed_ = false;
};

int writeAll(int fd, std::initializer_list<QByteArrayView> parts)
{
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
    return qt_error_string(error);
}

FileWriteResult replaceFileContents(const QString& path, std::initializer_list<QByteArrayView> parts)
{
    ignoreFileSizeSignal();
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
    if (const int error = temporary.close())
        return {error};
    return {temporary.renameTo(targetName)};
}

} // namespace quorvex
