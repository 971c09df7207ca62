#pragma once

#include "capture/screen_reader.h"

#include <string>
#include <vector>

namespace quorvex {

// Where the portal's pictures may be deleted and where never: the temporary folders (/tmp, where
// the wlroots portal writes, and $TMPDIR) and the user's pictures folder, from the environment.
struct PortalFilePlaces {
    std::vector<std::string> temporaryFolders;
    std::string picturesFolder;

    static PortalFilePlaces fromProcess();
};

// The picture the portal answered with, or why there is none.
struct PortalPicture {
    ScreenPixels pixels;
    std::string failure;
};

// Reads the portal's PNG file named by `uri` at once (before anything can replace it), deletes it
// where `places` say it is ours, and decodes it as 32-bit pixels.
PortalPicture takePortalPicture(const std::string& uri, const PortalFilePlaces& places);

} // namespace quorvex
