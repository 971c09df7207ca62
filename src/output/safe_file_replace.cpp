#include "output/safe_file_replace.h"

#include "output/unfinished_files.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <optional>
#include <pthread.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>
#include <vector>

namespace quorvex {

namespace {

std::string freshTemporaryName(const std::string& folder)
{
    unsigned long long random = 0;
    if (::getrandom(&random, sizeof random, 0) != sizeof random)
        random
            ^= static_cast<unsigned long long>(::getpid()) << 32 ^ static_cast<unsigned long long>(clock());
    std::string name = folder + "/.quorvex7-save-";
    do
        name += "0123456789abcdefghijklmnopqrstuvwxyz"[random % 36];
    while (random /= 36);
    return name;
}

// The folder a file name lies in, as a name that opens it.
std::string folderOf(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Whether following the link `entry` at `path` is what the kernel refuses (fs.protected_symlinks):
// in a sticky, world-writable folder, a link owned by neither the user nor the folder's owner, as
// one planted by another user in /tmp. We resolve links ourselves, so the kernel cannot refuse it.
bool isForeignLinkInSharedFolder(const std::string& path, const struct stat& entry)
{
    if (entry.st_uid == ::geteuid())
        return false;
    struct stat folder { };
    if (::stat(folderOf(path).c_str(), &folder) != 0)
        return true; // cannot tell: not followed
    const mode_t shared = S_ISVTX | S_IWOTH;
    return (folder.st_mode & shared) == shared && folder.st_uid != entry.st_uid;
}

// Where a chain of symbolic links at `path` ends (a link's relative target counts from the link's
// folder); `path` itself when it is no link. A dangling link ends at the name it points to. Refused
// as the kernel would refuse opening it: a link planted in a shared folder, or more than 40 links.
struct LinkEnd {
    std::string path;
    FileWriteResult refusal;
};
LinkEnd linkTarget(std::string path)
{
    constexpr int kMostLinks = 40; // the kernel's own limit
    for (int hops = 0;; ++hops) {
        struct stat entry { };
        if (::lstat(path.c_str(), &entry) != 0 || !S_ISLNK(entry.st_mode))
            break;
        if (hops == kMostLinks)
            return {{}, {ELOOP}};
        if (isForeignLinkInSharedFolder(path, entry))
            return {{}, {EACCES, false, true}};
        std::string target(size_t(entry.st_size > 0 ? entry.st_size : 4096), '\0');
        const ssize_t length = ::readlink(path.c_str(), target.data(), target.size());
        if (length <= 0)
            break;
        target.resize(size_t(length));
        path = target.front() == '/' ? target : folderOf(path) + "/" + target;
    }
    return {path, {}};
}

// A new file in the target's folder that gets a name only once it is complete: an unnamed file
// (O_TMPFILE) linked in just before the rename, so a signal that ends the program mid-save leaves
// nothing behind. Where the file system has no unnamed files, a named one from the start, which a
// program's signal handler can remove (removeUnfinishedFiles). Removed unless renamed into place.
class TemporaryFile {
public:
    // `mode` from the start: a named file can be opened by others as soon as it exists.
    TemporaryFile(std::string folder, mode_t mode)
        : folder_(std::move(folder))
    {
        fd_ = ::open(folder_.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
        if (fd_ >= 0)
            return;
        for (int attempt = 0; attempt < 100; ++attempt) {
            name_ = freshTemporaryName(folder_);
            fd_ = ::open(name_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
            openError_ = fd_ < 0 ? errno : 0;
            if (openError_ != EEXIST)
                break;
        }
        if (fd_ >= 0)
            remembered_.emplace(name_.c_str());
        else
            name_.clear();
    }
    ~TemporaryFile()
    {
        if (fd_ >= 0)
            ::close(fd_);
        if (!name_.empty() && !renamed_)
            ::unlink(name_.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    int fd() const { return fd_; }
    int openError() const { return openError_; }

    // Closes the file and renames it over `target`.
    int closeAndRenameTo(const std::string& target)
    {
        if (name_.empty())
            if (const int error = linkUnnamed())
                return error;
        const int closed = ::close(fd_);
        fd_ = -1;
        if (closed != 0)
            return errno;
        if (::rename(name_.c_str(), target.c_str()) != 0)
            return errno;
        renamed_ = true;
        return 0;
    }

private:
    int linkUnnamed()
    {
        const std::string self = "/proc/self/fd/" + std::to_string(fd_);
        for (int attempt = 0; attempt < 100; ++attempt) {
            remembered_.reset();
            name_ = freshTemporaryName(folder_);
            remembered_.emplace(name_.c_str()); // before the link: a signal may come at once
            // Linking a descriptor needs a privilege; its /proc name works for everyone.
            if (::linkat(fd_, "", AT_FDCWD, name_.c_str(), AT_EMPTY_PATH) == 0
                || ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name_.c_str(), AT_SYMLINK_FOLLOW) == 0)
                return 0;
            const int error = errno;
            name_.clear();
            remembered_.reset();
            if (error != EEXIST)
                return error;
        }
        return EEXIST;
    }

    std::string folder_;
    std::string name_; // empty while the file has no name
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

int writeHeld(const std::function<int(int fd)>& write, int fd)
{
    const FileSizeSignalHeld held;
    return write(fd);
}

int writeAll(int fd, const std::vector<std::string_view>& parts)
{
    std::vector<iovec> pending;
    for (std::string_view part : parts)
        if (!part.empty())
            pending.push_back({const_cast<char*>(part.data()), part.size()});
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

std::string FileWriteResult::message() const
{
    return readOnlyFile ? kReadOnlyFileReason : foreignLink ? kForeignLinkReason : std::strerror(error);
}

bool isReadOnlyFile(const std::string& path)
{
    struct stat file { };
    // stat follows a symbolic link: its target is what would be replaced.
    return !path.empty() && ::stat(path.c_str(), &file) == 0 && S_ISREG(file.st_mode)
        && (file.st_mode & S_IWUSR) == 0;
}

FileWriteResult replaceFileContents(const std::string& path, const std::vector<std::string_view>& parts)
{
    return replaceFileWith(path, [&parts](int fd) { return writeAll(fd, parts); });
}

FileWriteResult replaceFileWith(const std::string& path, const std::function<int(int fd)>& write)
{
    if (path.empty())
        return {ENOENT};
    const LinkEnd end = linkTarget(path);
    if (!end.refusal.ok())
        return end.refusal;
    const std::string& targetName = end.path;

    struct stat old { };
    const bool replacing = ::stat(targetName.c_str(), &old) == 0;
    if (!replacing && errno != ENOENT)
        return {errno};
    if (replacing && !S_ISREG(old.st_mode))
        return {S_ISDIR(old.st_mode) ? EISDIR : EINVAL};
    if (replacing && (old.st_mode & S_IWUSR) == 0)
        return {EACCES, true}; // refused even where the permission would not stop us (root)

    // A new file's permissions are the umask's, as for any other new file; the one that replaces
    // a file stays the user's alone until it gets the old file's mode, which may be 0600.
    TemporaryFile temporary(folderOf(targetName), replacing ? 0600 : 0666);
    if (temporary.fd() < 0)
        return {temporary.openError()};
    if (const int error = writeHeld(write, temporary.fd()))
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
