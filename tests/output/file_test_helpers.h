#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

// Helpers for tests that write real files: byte-exact reads, stat records, leftover temporary
// files, and a real file-size limit (as root, a read-only folder is no failure).
namespace outputtest {

inline QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

inline struct stat statOf(const QString& path)
{
    struct stat result { };
    ::stat(QFile::encodeName(path).constData(), &result);
    return result;
}

// Gives a file distinctive permission bits and times (nanoseconds included) from long ago.
inline void ageFile(const QString& path, mode_t mode)
{
    ::chmod(QFile::encodeName(path).constData(), mode);
    const timespec times[2] = {{1000000000, 123456789}, {1010000000, 987654321}};
    ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0);
}

inline bool sameTime(const timespec& a, const timespec& b)
{
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

// Everything in `folder` except the names listed.
inline QStringList strayFiles(const QString& folder, const QStringList& expected)
{
    QStringList found = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QString& name : expected)
        found.removeAll(name);
    return found;
}

// Lowers the soft file-size limit for its lifetime, so writes past it fail with EFBIG.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() { ::setrlimit(RLIMIT_FSIZE, &saved_); }

private:
    rlimit saved_{};
};

} // namespace outputtest
