#pragma once

#include "resource_limit.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// Helpers for tests that write real files: byte-exact reads, stat records, leftover temporary
// files, a real file-size limit (as root, a read-only folder is no failure) and a JPEG decoder.
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

// Decodes with Qt's own JPEG reader, not the library the writers use; null when the bytes are no JPEG.
inline QImage decodeJpeg(const QByteArray& bytes)
{
    return QImage::fromData(bytes, "JPEG");
}

// The largest difference of any colour channel.
inline int channelDistance(QRgb a, QRgb b)
{
    return std::max(
        {std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))});
}

inline double meanDistance(const QImage& a, const QImage& b)
{
    double sum = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            sum += channelDistance(a.pixel(x, y), b.pixel(x, y));
    return sum / (double(a.width()) * a.height());
}

} // namespace outputtest
