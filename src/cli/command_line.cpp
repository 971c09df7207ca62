#include "cli/command_line.h"

#include "platform/desktop_offer.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <getopt.h>
#include <regex>
#include <string_view>

namespace quorvex {

namespace {

constexpr GrabFormat kGrabFormats[] = {GrabFormat::Png, GrabFormat::Jpeg, GrabFormat::Bmp};

enum Option {
    kGrab = 1000,
    kRegion,
    kDelay,
    kFormat,
    kQuality,
    kScreen,
    kSelect,
    kPrint,
    kWindow,
    kOutput,
    kListOutputs,
    kPointer,
    kClipboard
};

constexpr option kOptions[] = {
    {"help", no_argument, nullptr, 'h'},
    {"version", no_argument, nullptr, 'v'},
    {"grab", required_argument, nullptr, kGrab},
    {"region", required_argument, nullptr, kRegion},
    {"delay", required_argument, nullptr, kDelay},
    {"format", required_argument, nullptr, kFormat},
    {"quality", required_argument, nullptr, kQuality},
    {"screen", required_argument, nullptr, kScreen},
    {"select", no_argument, nullptr, kSelect},
    {"print", no_argument, nullptr, kPrint},
    {"window", no_argument, nullptr, kWindow},
    {"output", required_argument, nullptr, kOutput},
    {"list-outputs", no_argument, nullptr, kListOutputs},
    {"pointer", no_argument, nullptr, kPointer},
    {"clipboard", no_argument, nullptr, kClipboard},
    {nullptr, 0, nullptr, 0},
};

CommandLine failure(std::string message)
{
    CommandLine result;
    result.action = CommandLine::Action::Error;
    result.error = std::move(message);
    return result;
}

std::string lowerCase(std::string text)
{
    for (char& c : text)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string trimmed(const std::string& text)
{
    const size_t first = text.find_first_not_of(" \t\n\r\f\v");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\n\r\f\v") - first + 1);
}

// The whole text as a number, or nothing: "1.5" is, "soon" and "1.5s" are not.
std::optional<double> wholeTextAsNumber(const std::string& text)
{
    const std::string number = trimmed(text);
    char* end = nullptr;
    const double value = std::strtod(number.c_str(), &end);
    if (number.empty() || end != number.c_str() + number.size())
        return std::nullopt;
    return value;
}

// What the user typed for the option getopt stopped at, for a message.
std::string optionText(char* const* argv)
{
    const std::string typed = argv[optind - 1];
    return typed.substr(0, typed.find('='));
}

// The options taken one by one; the values still as typed.
struct Given {
    bool help = false, version = false, select = false, print = false, window = false, listOutputs = false,
         pointer = false, clipboard = false;
    std::optional<std::string> grab, region, delay, format, quality, screen, output;
};

} // namespace

PixelRect RegionGeometry::placedOn(const PixelSize& size) const
{
    // In 64 bits, then kept in range: a region far too large is refused by the caller as outside.
    const auto place = [](bool fromEnd, int offset, int length, int whole) {
        const int64_t at = fromEnd ? int64_t(whole) - length - offset : offset;
        return int(std::clamp<int64_t>(at, INT_MIN / 2, INT_MAX / 2));
    };
    return {place(fromRight, rect.x, rect.width, size.width),
        place(fromBottom, rect.y, rect.height, size.height), rect.width, rect.height};
}

std::string RegionGeometry::text() const
{
    return std::to_string(rect.width) + "x" + std::to_string(rect.height) + (fromRight ? "-" : "+")
        + std::to_string(rect.x) + (fromBottom ? "-" : "+") + std::to_string(rect.y);
}

std::optional<RegionGeometry> parseRegion(const std::string& text)
{
    static const std::regex form(R"(^(\d{1,9})x(\d{1,9})([+-]\d{1,9})([+-]\d{1,9})$)");
    std::smatch m;
    const std::string region = trimmed(text);
    if (!std::regex_match(region, m, form))
        return std::nullopt;
    const int width = std::stoi(m[1]);
    const int height = std::stoi(m[2]);
    if (width < 1 || height < 1)
        return std::nullopt;
    const std::string x = m[3], y = m[4];
    return RegionGeometry{
        {std::stoi(x.substr(1)), std::stoi(y.substr(1)), width, height}, x[0] == '-', y[0] == '-'};
}

std::string regionText(const PixelRect& rect)
{
    const auto offset = [](int value) { return (value < 0 ? "" : "+") + std::to_string(value); };
    return std::to_string(rect.width) + "x" + std::to_string(rect.height) + offset(rect.x) + offset(rect.y);
}

std::optional<GrabFormat> grabFormatForName(const std::string& path)
{
    const std::string ending = lowerCase(path.size() >= 3 ? path.substr(path.size() - 3) : path);
    // JPEG's long ending too, as --format takes it.
    if (path.size() >= 4 && lowerCase(path.substr(path.size() - 4)) == "jpeg")
        return GrabFormat::Jpeg;
    for (const GrabFormat format : kGrabFormats)
        if (ending == grabFormatEnding(format))
            return format;
    return std::nullopt;
}

const char* grabFormatEnding(GrabFormat format)
{
    switch (format) {
    case GrabFormat::Bmp:
        return "bmp";
    case GrabFormat::Jpeg:
        return "jpg";
    case GrabFormat::Png:
        break;
    }
    return "png";
}

CommandLine parseCommandLine(const std::vector<std::string>& arguments)
{
    // getopt reorders what it is given: it works on copies.
    std::vector<std::string> copies = arguments.empty() ? std::vector<std::string>{"quorvex7"} : arguments;
    std::vector<char*> argv;
    for (std::string& argument : copies)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    Given given;
    optind = 0; // start afresh: a program may parse more than once (tests do)
    opterr = 0; // the messages below are ours
    for (;;) {
        optopt = 0;
        const int option = getopt_long(int(copies.size()), argv.data(), ":hv?", kOptions, nullptr);
        if (option == -1)
            break;
        switch (option) {
        case 'h':
            given.help = true;
            break;
        case 'v':
            given.version = true;
            break;
        case kGrab:
            given.grab = optarg;
            break;
        case kRegion:
            given.region = optarg;
            break;
        case kDelay:
            given.delay = optarg;
            break;
        case kFormat:
            given.format = optarg;
            break;
        case kQuality:
            given.quality = optarg;
            break;
        case kScreen:
            given.screen = optarg;
            break;
        case kSelect:
            given.select = true;
            break;
        case kPrint:
            given.print = true;
            break;
        case kWindow:
            given.window = true;
            break;
        case kOutput:
            given.output = optarg;
            break;
        case kListOutputs:
            given.listOutputs = true;
            break;
        case kPointer:
            given.pointer = true;
            break;
        case kClipboard:
            given.clipboard = true;
            break;
        case ':':
            return failure("missing value after '" + optionText(argv.data()) + "'");
        default: { // '?': an option that is not ours, or -? itself (getopt says both alike)
            const std::string typed = optionText(argv.data());
            if (typed == "-?") {
                given.help = true;
                break;
            }
            if (!typed.starts_with("--") || typed.size() == 2)
                return failure(
                    "unknown option '" + (optopt ? "-" + std::string(1, char(optopt)) : typed) + "'");
            // A long option getopt knows comes back for a value it does not take ("--select=yes").
            if (optopt != 0)
                return failure("'" + typed + "' takes no value");
            std::string matches;
            for (const auto& known : kOptions)
                if (known.name && std::string_view(known.name).starts_with(typed.substr(2)))
                    matches += std::string(matches.empty() ? "" : ", ") + "--" + known.name;
            if (matches.find(',') != std::string::npos)
                return failure("'" + typed + "' is short for more than one option: " + matches);
            return failure("unknown option '" + typed + "'");
        }
        }
    }
    if (optind < int(copies.size()))
        return failure("unexpected argument '" + copies[size_t(optind)] + "'");

    CommandLine result;
    if (given.help) {
        result.action = CommandLine::Action::Help;
        return result;
    }
    if (given.version) {
        result.action = CommandLine::Action::Version;
        return result;
    }
    if (given.screen) {
        result.screen = lowerCase(*given.screen);
        if (!screenSourceNamed(result.screen))
            return failure("--screen must be x11, screencopy, kwin or portal");
    }
    const std::pair<bool, const char*> grabOptions[]
        = {{bool(given.region), "region"}, {bool(given.delay), "delay"}, {bool(given.format), "format"},
            {bool(given.quality), "quality"}, {given.select, "select"}, {given.window, "window"},
            {bool(given.output), "output"}, {given.pointer, "pointer"}, {given.print, "print"}};
    if (given.listOutputs) {
        if (given.grab || given.clipboard)
            return failure("--list-outputs grabs nothing: it goes without --grab and --clipboard");
        for (const auto& [present, name] : grabOptions)
            if (present)
                return failure(std::string("--") + name + " goes with --grab, not with --list-outputs");
        result.action = CommandLine::Action::ListOutputs;
        return result;
    }
    if (given.print) {
        if (given.grab || given.clipboard)
            return failure("--print grabs nothing: it goes without --grab and --clipboard");
        if (!given.select && !given.window && !given.output)
            return failure("--print goes with --select, --window or --output");
        for (const auto& [present, name] : {std::pair{bool(given.format), "format"},
                 {bool(given.quality), "quality"}, {given.pointer, "pointer"}})
            if (present)
                return failure(std::string("--") + name + " goes with --grab, not with --print");
    } else if (!given.grab && !given.clipboard) {
        for (const auto& [present, name] : grabOptions)
            if (present)
                return failure(std::string("--") + name + " goes with --grab or --clipboard");
        if (!given.screen)
            return result;
        return failure("--screen goes with --grab, --clipboard or --list-outputs");
    }
    if (int(bool(given.region)) + int(given.select) + int(given.window) + int(bool(given.output)) > 1)
        return failure("--region, --select, --window and --output each choose the area: give one");

    result.action = CommandLine::Action::Grab;
    result.print = given.print;
    result.clipboard = given.clipboard;
    result.pointer = given.pointer;
    if (given.grab) {
        result.file = *given.grab;
        if (result.file.empty())
            return failure("--grab needs a file name");
    } else if (given.format || given.quality) {
        // The clipboard takes PNG.
        return failure(std::string("--") + (given.format ? "format" : "quality") + " goes with --grab");
    }
    if (given.region) {
        result.area = GrabArea::Region;
        result.region = parseRegion(*given.region);
        if (!result.region)
            return failure("--region must look like WxH+X+Y, e.g. 640x480+100+50");
    }
    if (given.select)
        result.area = GrabArea::Select;
    if (given.window)
        result.area = GrabArea::Window;
    if (given.output) {
        result.area = GrabArea::Output;
        result.output = *given.output;
        if (result.output.empty())
            return failure("--output needs a monitor's name, as --list-outputs gives them");
    }
    if (given.delay) {
        const std::optional<double> seconds = wholeTextAsNumber(*given.delay);
        if (!seconds || !std::isfinite(*seconds) || *seconds < 0 || *seconds > 86400)
            return failure("--delay must be a number of seconds from 0 to 86400");
        result.delaySeconds = *seconds;
    }
    if (given.format) {
        const std::string name = lowerCase(*given.format);
        for (const GrabFormat format : kGrabFormats)
            if (name == grabFormatEnding(format))
                result.format = format;
        if (name == "jpeg")
            result.format = GrabFormat::Jpeg;
        if (!result.format)
            return failure("--format must be png, jpg or bmp");
    }
    if (given.quality) {
        const std::optional<double> quality = wholeTextAsNumber(*given.quality);
        if (!quality || *quality != std::floor(*quality) || *quality < 1 || *quality > 100)
            return failure("--quality must be a whole number from 1 to 100");
        result.quality = int(*quality);
        // What the name already says (a folder's new file is PNG too, as the grab finds out).
        const bool toFolder = result.file == "-" || result.file.back() == '/';
        const std::optional<GrabFormat> format = result.format ? result.format
            : toFolder                                         ? GrabFormat::Png
                                                               : grabFormatForName(result.file);
        if (format && *format != GrabFormat::Jpeg)
            return failure("--quality goes with JPEG only");
    }
    return result;
}

const char* commandLineHelp()
{
    return R"(Usage: quorvex7 [options]
Quorvex7 grabs the screen. Without options it opens its window.

Options:
  -h, --help              Displays this help.
  -v, --version           Displays version information.
  --grab <FILE|FOLDER|->  Grab the screen into FILE (.png, .jpg, .jpeg or
                          .bmp) and exit. Into a FOLDER (an existing one, or a
                          name ending in /, made if missing): a new file named
                          after the moment. - writes to standard output; a
                          named pipe or a device (/dev/stdout) is written into.
  --clipboard             Put the grab on the clipboard as PNG (as well, with
                          --grab); it stays there after quorvex7 has ended,
                          until another program takes the clipboard.
  --region <WxH+X+Y>      Grab only this area of the screen, e.g.
                          640x480+100+50; -X or -Y counts from the right or
                          bottom edge (100x100-0-0: the bottom-right corner).
  --select                Drag the area with the mouse (a click picks the
                          window under the pointer); Escape or the right
                          button cancels.
  --window                Grab the focused window, with its frame.
  --output <NAME>         Grab one monitor (see --list-outputs).
  --list-outputs          List the monitors: name, place and size on the
                          desktop, scale.
  --print                 With --select, --window or --output: print the area
                          as WxH+X+Y and grab nothing.
  --pointer               Draw the mouse pointer into the grab.
  --delay <SECONDS>       Wait this many seconds before grabbing (counted down
                          on a terminal).
  --format <png|jpg|bmp>  Write this format whatever the file's name ends in;
                          png when the name does not decide (a folder, -, a
                          pipe).
  --quality <N>           JPEG quality from 1 to 100 (default 90).
  --screen <SOURCE>       Read the screen through x11, screencopy (Wayland
                          compositors such as sway), kwin (KDE Plasma's
                          KWin, for the installed program) or portal (the
                          desktop portal's screenshot: GNOME, KDE) instead
                          of the session's own choice; also QUORVEX7_SCREEN.

Exit status: 0 done, 1 the grab failed or the selection was cancelled, 2 a
wrong command line.
)";
}

} // namespace quorvex
