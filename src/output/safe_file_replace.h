#pragma once

#include "common/result.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvex {

inline constexpr char kReadOnlyFileReason[] = "the file is read-only";
inline constexpr char kForeignLinkReason[] = "another user's link in a shared folder is not followed";

// Makes `parts`, one after the other, the whole content of the file at `path` (a file name in the
// system's encoding) without ever leaving a half-written file there: the bytes go to a temporary
// file in the same folder, unnamed until it is complete where the file system allows, and only
// then is it renamed over the old file. A file that is replaced hands its permission bits, owner,
// access and modification times on to the new one (Linux file systems keep no settable creation
// time). On failure the old file is untouched and the temporary file is gone. A symbolic link is
// followed, so the link stays and its target gets the new content; but, as the kernel itself
// refuses (fs.protected_symlinks), not a link in a sticky, world-writable folder (/tmp) whose owner
// is neither the user nor the folder's owner, and not a chain of more than 40 links (ELOOP).
// A file marked read-only (no write permission for its owner) is never replaced, whoever runs the
// program: nothing is written.
// A file-size limit (ulimit -f) fails with EFBIG; signal handling is left as the program set it.
// A failure says why in the system's words ("File too large"), or kReadOnlyFileReason or
// kForeignLinkReason (both EACCES), and leaves errno set to the number of the step that failed.
Status replaceFileContents(const std::string& path, const std::vector<std::string_view>& parts);

// The same safe replace, with the content written by `write` into the temporary file, given its
// descriptor (open for writing, empty): in order or at any offsets (pwrite), so a picture can go to
// the file band by band while it is being made. `write` returns 0, or an errno that fails the save
// with the old file untouched (ECANCELED for a failure of its own, which it reports itself). A
// file-size limit fails its writes with EFBIG, as above. `expectedSize`, the file's size where it is
// known before the first byte (0 where not), lets a new file's blocks be set aside at once.
Status replaceFileWith(
    const std::string& path, const std::function<int(int fd)>& write, uint64_t expectedSize = 0);

// The folder a file name lies in, as a name that opens it ("." for a bare name); of "a/b/", "a/b".
std::string folderOf(const std::string& path);

// Whether `path` (or the target of a symbolic link there) is an existing file marked read-only:
// replaceFileContents refuses it, and a command can say so before it does any work.
bool isReadOnlyFile(const std::string& path);

} // namespace quorvex
