#pragma once

#include "common/pixel_rect.h"

#include <optional>
#include <string>
#include <vector>

namespace quorvex {

// The formats a command-line grab writes.
enum class GrabFormat { Bmp, Jpeg, Png };

// Which part of the desktop a grab takes.
enum class GrabArea {
    Desktop, // all of it
    Region, // --region WxH+X+Y
    Select, // --select: dragged with the mouse
    Window, // --window: the focused window
    Output, // --output NAME: one monitor
};

// What the command line asks for. No option at all starts the program's window.
// --region as typed, in X geometry: each offset from the left or top edge, or after a minus from
// the right or bottom one (100x100-0-0 is the bottom-right corner).
struct RegionGeometry {
    PixelRect rect; // the offsets as typed, without their signs
    bool fromRight = false;
    bool fromBottom = false;

    // Where it lies on a desktop of `size`.
    PixelRect placedOn(const PixelSize& size) const;
    // As typed: "640x480+100+50", "100x100-0-0".
    std::string text() const;
    bool operator==(const RegionGeometry&) const = default;
};

struct CommandLine {
    enum class Action { StartWindow, Grab, ListOutputs, Help, Version, Error };
    Action action = Action::StartWindow;
    // --grab FILE, a folder (a new file named after the moment) or "-" (standard output); empty
    // where the grab goes only to the clipboard or the area is only printed.
    std::string file;
    std::optional<GrabFormat> format; // --format; otherwise the file's name decides, PNG for the others
    std::optional<int> quality; // --quality, JPEG only
    GrabArea area = GrabArea::Desktop;
    std::optional<RegionGeometry> region; // --region WxH+X+Y
    std::string output; // --output NAME
    bool pointer = false; // --pointer: the mouse pointer drawn into the grab
    bool clipboard = false; // --clipboard: the grab goes to the clipboard as well (or only there)
    bool print = false; // --print: the chosen area is printed as WxH+X+Y and nothing is grabbed
    double delaySeconds = 0; // --delay SECONDS
    std::string screen; // --screen x11|screencopy|kwin|portal; empty: chosen from the session
    std::string error; // one line, for Action::Error
};

// "WxH+X+Y" or with minuses (X geometry); empty when malformed or not at least 1 x 1.
std::optional<RegionGeometry> parseRegion(const std::string& text);
// The other way round: "640x480+100+50", "10x10-5+0".
std::string regionText(const PixelRect& rect);

// By the last three characters of the name in any case, as Save As decides: BMP, JPG, or PNG; and
// by its last four, JPEG.
std::optional<GrabFormat> grabFormatForName(const std::string& path);
// "bmp", "jpg", "png": what --format takes and a new file's ending.
const char* grabFormatEnding(GrabFormat format);

// `arguments` as main() has them, the program's name first.
CommandLine parseCommandLine(const std::vector<std::string>& arguments);
const char* commandLineHelp();

} // namespace quorvex
