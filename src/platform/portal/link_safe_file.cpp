#include "platform/portal/link_safe_file.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <deque>
#include <fcntl.h>

namespace quorvex {

namespace {

constexpr int kMostLinks = 40;

void pushSteps(std::deque<std::string>& steps, const std::string& path)
{
    std::deque<std::string> added;
    size_t start = 0;
    while (start <= path.size()) {
        const size_t end = std::min(path.find('/', start), path.size());
        if (end > start)
            added.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    steps.insert(steps.begin(), added.begin(), added.end());
}

std::string errorText()
{
    return std::strerror(errno);
}

} // namespace

Result<OpenedFile> openWithoutPlantedLinks(const std::string& path)
{
    if (path.empty() || path.front() != '/')
        return fail("'" + path + "' is no absolute path");
    UniqueFd folder(::open("/", O_PATH | O_DIRECTORY | O_CLOEXEC));
    std::deque<std::string> steps;
    pushSteps(steps, path);
    int links = 0;
    while (!steps.empty()) {
        const std::string step = std::move(steps.front());
        steps.pop_front();
        if (steps.empty()) {
            OpenedFile opened;
            opened.file.reset(::openat(
                folder.get(), step.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
            if (opened.file.get() < 0)
                return fail(errno == ELOOP ? "it is a link" : errorText());
            if (::fstat(opened.file.get(), &opened.status) != 0)
                return fail(errorText());
            opened.folder = std::move(folder);
            opened.name = step;
            return opened;
        }
        UniqueFd next(::openat(folder.get(), step.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC));
        struct stat status { };
        if (next.get() < 0 || ::fstat(next.get(), &status) != 0)
            return fail(errorText());
        if (S_ISLNK(status.st_mode)) {
            if (status.st_uid != ::geteuid() && status.st_uid != 0)
                return fail("the link '" + step + "' on its way belongs to another user");
            if (++links > kMostLinks)
                return fail(std::strerror(ELOOP));
            char target[PATH_MAX];
            const ssize_t length = ::readlinkat(next.get(), "", target, sizeof target);
            if (length <= 0 || size_t(length) >= sizeof target)
                return fail("the link '" + step + "' on its way cannot be read");
            const std::string to(target, size_t(length));
            pushSteps(steps, to);
            if (to.front() == '/')
                folder.reset(::open("/", O_PATH | O_DIRECTORY | O_CLOEXEC));
            continue;
        }
        if (!S_ISDIR(status.st_mode))
            return fail(std::strerror(ENOTDIR));
        folder = std::move(next);
    }
    return fail(std::strerror(EISDIR));
}

Status removeOpenedFile(const OpenedFile& file)
{
    struct stat now { };
    if (::fstatat(file.folder.get(), file.name.c_str(), &now, AT_SYMLINK_NOFOLLOW) != 0)
        return fail(errorText());
    if (now.st_dev != file.status.st_dev || now.st_ino != file.status.st_ino)
        return fail("another file has taken its name");
    if (::unlinkat(file.folder.get(), file.name.c_str(), 0) != 0)
        return fail(errorText());
    return {};
}

} // namespace quorvex
