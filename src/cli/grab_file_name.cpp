#include "cli/grab_file_name.h"

namespace quorvex {

std::string grabFileName(const std::tm& moment, GrabFormat format, int attempt)
{
    // Hyphens between the time's fields: a colon is not allowed in file names everywhere.
    char stem[64];
    std::strftime(stem, sizeof stem, "Quorvex7 %Y-%m-%d %H-%M-%S", &moment);
    const std::string taken = attempt > 1 ? " (" + std::to_string(attempt) + ")" : std::string();
    return stem + taken + "." + grabFormatEnding(format);
}

} // namespace quorvex
