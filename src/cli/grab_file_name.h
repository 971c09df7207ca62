#pragma once

#include "cli/command_line.h"

#include <ctime>
#include <string>

namespace quorvex {

// The name of a new grab written into a folder: "Quorvex7 2026-12-07 14-03-22.png" for the first
// try, with " (2)", " (3)", ... before the ending for the next ones, while the name is taken.
// `moment` is local time.
std::string grabFileName(const std::tm& moment, GrabFormat format, int attempt);

} // namespace quorvex
