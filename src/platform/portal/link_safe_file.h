#pragma once

#include "common/result.h"
#include "platform/unique_fd.h"

#include <string>
#include <sys/stat.h>

namespace quorvex {

// A file opened for reading, with the folder it was found in and its name there, so the very file
// that was read can be removed (and no other that took its name meanwhile).
struct OpenedFile {
    UniqueFd folder; // an O_PATH descriptor
    UniqueFd file;
    std::string name;
    struct stat status { };
};

// Opens the absolute `path` for reading without blocking (a FIFO opens at once) and without following
// a link at its last step; before that, a link is followed only where the user or root owns it (so a
// pictures folder that is a link works, and a link another user planted is refused). At most 40 links,
// as the kernel.
Result<OpenedFile> openWithoutPlantedLinks(const std::string& path);

// Removes `file` by its name in its folder where that name still is the file that was opened.
Status removeOpenedFile(const OpenedFile& file);

} // namespace quorvex
