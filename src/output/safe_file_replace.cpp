#include "output/safe_file_replace.h"

#include "output/unfinished_files.h"

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <limits>
#include <optional>
#include <pthread.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>
#include <vector>

namespace quorvex {

namespace {

// Why a replace failed: the errno of the step, and the reason where it is ours rather than the
// system's.
struct Refusal {
    int error = 0;
    const char* reason = nullptr;
};

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

} // namespace

std::string folderOf(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

namespace {

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
    Refusal refusal;
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
            return {{}, {EACCES, kForeignLinkReason}};
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
        : m_folder(std::move(folder))
    {
        m_fd = ::open(m_folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
        if (m_fd >= 0)
            return;
        for (int attempt = 0; attempt < 100; ++attempt) {
            m_name = freshTemporaryName(m_folder);
            m_fd = ::open(m_name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
            m_openError = m_fd < 0 ? errno : 0;
            if (m_openError != EEXIST)
                break;
        }
        if (m_fd >= 0)
            m_remembered.emplace(m_name.c_str());
        else
            m_name.clear();
    }
    ~TemporaryFile()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        if (!m_name.empty() && !m_renamed)
            ::unlink(m_name.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    int fd() const { return m_fd; }
    int openError() const { return m_openError; }

    // Closes the file and renames it over `target`.
    int closeAndRenameTo(const std::string& target)
    {
        if (m_name.empty())
            if (const int error = linkUnnamed())
                return error;
        const int closed = ::close(m_fd);
        m_fd = -1;
        if (closed != 0)
            return errno;
        if (::rename(m_name.c_str(), target.c_str()) != 0)
            return errno;
        m_renamed = true;
        return 0;
    }

private:
    int linkUnnamed()
    {
        const std::string self = "/proc/self/fd/" + std::to_string(m_fd);
        for (int attempt = 0; attempt < 100; ++attempt) {
            m_remembered.reset();
            m_name = freshTemporaryName(m_folder);
            m_remembered.emplace(m_name.c_str()); // before the link: a signal may come at once
            // Linking a descriptor needs a privilege; its /proc name works for everyone.
            if (::linkat(m_fd, "", AT_FDCWD, m_name.c_str(), AT_EMPTY_PATH) == 0
                || ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, m_name.c_str(), AT_SYMLINK_FOLLOW) == 0)
                return 0;
            const int error = errno;
            m_name.clear();
            m_remembered.reset();
            if (error != EEXIST)
                return error;
        }
        return EEXIST;
    }

    std::string m_folder;
    std::string m_name; // empty while the file has no name
    std::optional<UnfinishedFileName> m_remembered;
    int m_fd = -1;
    int m_openError = 0;
    bool m_renamed = false;
};

// Blocks SIGXFSZ in this thread while writing, so a file-size limit fails the write with EFBIG
// instead of killing the program, whatever the program does with the signal otherwise. The signal
// the kernel sent with that EFBIG is taken back before the thread sees it.
class FileSizeSignalHeld {
public:
    FileSizeSignalHeld()
    {
        sigemptyset(&m_signal);
        sigaddset(&m_signal, SIGXFSZ);
        pthread_sigmask(SIG_BLOCK, &m_signal, &m_before);
        sigset_t pending;
        sigpending(&pending);
        m_wasPending = sigismember(&pending, SIGXFSZ) == 1;
    }
    ~FileSizeSignalHeld()
    {
        sigset_t pending;
        sigpending(&pending);
        if (!m_wasPending && sigismember(&pending, SIGXFSZ) == 1) {
            const timespec now{};
            sigtimedwait(&m_signal, nullptr, &now);
        }
        pthread_sigmask(SIG_SETMASK, &m_before, nullptr);
    }
    FileSizeSignalHeld(const FileSizeSignalHeld&) = delete;
    FileSizeSignalHeld& operator=(const FileSizeSignalHeld&) = delete;

private:
    sigset_t m_signal;
    sigset_t m_before;
    bool m_wasPending = false;
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

bool isReadOnlyFile(const std::string& path)
{
    struct stat file { };
    // stat follows a symbolic link: its target is what would be replaced.
    return !path.empty() && ::stat(path.c_str(), &file) == 0 && S_ISREG(file.st_mode)
        && (file.st_mode & S_IWUSR) == 0;
}

namespace {

Refusal replace(const std::string& path, const std::function<int(int fd)>& write, uint64_t expectedSize)
{
    if (path.empty())
        return {ENOENT};
    const LinkEnd end = linkTarget(path);
    if (end.refusal.error)
        return end.refusal;
    const std::string& targetName = end.path;

    struct stat old { };
    const bool replacing = ::stat(targetName.c_str(), &old) == 0;
    if (!replacing && errno != ENOENT)
        return {errno};
    if (replacing && !S_ISREG(old.st_mode))
        return {S_ISDIR(old.st_mode) ? EISDIR : EINVAL};
    if (replacing && (old.st_mode & S_IWUSR) == 0)
        return {EACCES, kReadOnlyFileReason}; // refused even where the permission would not stop us (root)

    // A new file's permissions are the umask's, as for any other new file; the one that replaces
    // a file stays the user's alone until it gets the old file's mode, which may be 0600.
    TemporaryFile temporary(folderOf(targetName), replacing ? 0600 : 0666);
    if (temporary.fd() < 0)
        return {temporary.openError()};
    // Blocks set aside at once spare ext4 finding them one by one, but they reach the disk only with
    // the next writeback, up to half a minute later. A file that replaces one with content is written
    // the usual way instead, so that ext4 starts writing it out at the rename (below), and a power
    // cut soon after leaves the new or the old content, never zeros. An empty file has none to lose.
    if (expectedSize > 0 && expectedSize <= uint64_t(std::numeric_limits<off_t>::max())
        && (!replacing || old.st_size == 0))
        (void)::fallocate(temporary.fd(), FALLOC_FL_KEEP_SIZE, 0, off_t(expectedSize));
    if (const int error = writeHeld(write, temporary.fd()))
        return {error};
    if (replacing)
        if (const int error = copyAttributes(temporary.fd(), old))
            return {error};
    // No fsync: the rename already makes a failed write harmless to the old file, and a sync costs
    // more than the whole save on a disk. Ext4 starts writing out a file renamed over another at the
    // rename (auto_da_alloc), which narrows the power-loss case there to moments.
    return {temporary.closeAndRenameTo(targetName)};
}

// Made once every step's clean-up has run, so that errno is the failed step's.
Status statusOf(const Refusal& refusal)
{
    if (refusal.error == 0)
        return {};
    Status failed = fail(refusal.reason ? refusal.reason : std::strerror(refusal.error));
    errno = refusal.error;
    return failed;
}

} // namespace

Status replaceFileContents(const std::string& path, const std::vector<std::string_view>& parts)
{
    uint64_t size = 0;
    for (std::string_view part : parts)
        size += part.size();
    return statusOf(replace(
        path, [&parts](int fd) { return writeAll(fd, parts); }, size));
}

Status replaceFileWith(
    const std::string& path, const std::function<int(int fd)>& write, uint64_t expectedSize)
{
    return statusOf(replace(path, write, expectedSize));
}

} // namespace quorvex
