#pragma once

#include "common/pixel_rect.h"

#include <optional>
#include <string>
#include <vector>

namespace quorvex {

// The formats a command-line grab writes.
enum class GrabFormat { Bmp, Jpeg, Png };

// What the command line asks for. No option at all starts the program's window.
struct CommandLine {
    enum class Action { StartWindow, Grab, Help, Version, Error };
    Action action = Action::StartWindow;
    std::string file; // --grab FILE, a folder (a new file named after the moment) or "-" (standard output)
    std::optional<GrabFormat> format; // --format; otherwise the file's name decides, PNG for the others
    std::optional<int> quality; // --quality, JPEG only
    std::optional<PixelRect> region; // --region WxH+X+Y
    double delaySeconds = 0; // --delay SECONDS
    std::string screen; // --screen x11|screencopy; empty: chosen from the session
    std::string error; // one line, for Action::Error
};

// "WxH+X+Y" (X geometry, offsets may be negative); empty when malformed or not at least 1 x 1.
std::optional<PixelRect> parseRegion(const std::string& text);

// By the last three characters of the name in any case, as Save As decides: BMP, JPG, or PNG.
std::optional<GrabFormat> grabFormatForName(const std::string& path);
// "bmp", "jpg", "png": what --format takes and a new file's ending.
const char* grabFormatEnding(GrabFormat format);

// `arguments` as main() has them, the program's name first.
CommandLine parseCommandLine(const std::vector<std::string>& arguments);
const char* commandLineHelp();

} // namespace quorvex
