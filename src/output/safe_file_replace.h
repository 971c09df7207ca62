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
// a half-written file there: the bytes go to a temporary file in the same folder, unnamed until it
// is complete where the file system allows, and only then is it renamed over the old file. A file
// that is replaced hands its permission bits, owner, access and modification times on to the new
// one (Linux file systems keep no settable creation time). On failure the old file is untouched and
// the temporary file is gone. A symbolic link is followed, so the link stays and its target gets
// the new content.
// A file-size limit (ulimit -f) fails with EFBIG; signal handling is left as the program set it.
FileWriteResult replaceFileContents(const QString& path, std::initializer_list<QByteArrayView> parts);

} // namespace quorvex
