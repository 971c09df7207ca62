#pragma once

#include <QByteArrayView>
#include <QString>
#include <initializer_list>

namespace quorvex {

struct [[nodiscard]] FileWriteResult {
    int error = 0; // errno of the step that failed; 0 when the new file is in place

    bool ok() const { return error == 0; }
    QString message() const;
};

// Makes `parts`, one after the other, the whole content of the file at `path` without ever leaving
// a half-written file there: the bytes go to a temporary file in the same folder, are written out, and
// only then renamed over the old file. A file that is replaced hands its permission bits, owner,
// access and modification times on to the new one (Linux file systems keep no settable creation
// time). On failure the old file is untouched and the temporary file is gone. A symbolic link is
// followed, so the link stays and its target gets the new content.
//
// The first call makes the process ignore SIGXFSZ, so a file-size limit (ulimit -f) fails the
// write with EFBIG instead of killing the program.
FileWriteResult replaceFileContents(const QString& path, std::initializer_list<QByteArrayView> parts);

} // namespace quorvex
