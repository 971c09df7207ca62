#pragma once

#include "platform/screen_backend.h"

namespace quorvex {

// The desktop portal's reader from its module (quorvex7-portal.so beside this program, or where
// it is installed), with the first screenshot taken; or why there is none.
OpenedScreenReader openPortalReaderModule();

} // namespace quorvex
