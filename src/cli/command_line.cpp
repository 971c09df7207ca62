#include "cli/command_line.h"

#include "platform/desktop_offer.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <getopt.h>
#include <regex>

namespace quorvex {

namespace {

constexpr GrabFormat kGrabFormats[] = {GrabFormat::Png, GrabFormat::Jpeg, GrabFormat::Bmp};

enum Option { kGrab = 1000, kRegion, kDelay, kFormat, kQuality, kScreen };

constexpr option kOptions[] = {
    {"help", no_argument, nullptr, 'h'},
    {"version", no_argument, nullptr, 'v'},
    {"grab", required_argument, nullptr, kGrab},
    {"region", required_argument, nullptr, kRegion},
    {"delay", required_argument, nullptr, kDelay},
    {"format", required_argument, nullptr, kFormat},
    {"quality", required_argument, nullptr, kQuality},
    {"screen", required_argument, nullptr, kScreen},
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
std::optional<double> wholeNumber(const std::string& text)
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
    bool help = false, version = false;
    std::optional<std::string> grab, region, delay, format, quality, screen;
};

} // namespace

std::optional<PixelRect> parseRegion(const std::string& text)
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
    return PixelRect{std::stoi(m[3]), std::stoi(m[4]), width, height};
}

std::optional<GrabFormat> grabFormatForName(const std::string& path)
{
    const std::string ending = lowerCase(path.size() >= 3 ? path.substr(path.size() - 3) : path);
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
        case ':':
            return failure("missing value after '" + optionText(argv.data()) + "'");
        default: // '?': an option that is not ours, or -? itself (getopt says both alike)
            if (optionText(argv.data()) == "-?") {
                given.help = true;
                break;
            }
            return failure("unknown option '"
                + (optopt ? "-" + std::string(1, char(optopt)) : optionText(argv.data())) + "'");
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
    if (!given.grab) {
        for (const auto& [value, name] : {std::pair{&given.region, "region"}, {&given.delay, "delay"},
                 {&given.format, "format"}, {&given.quality, "quality"}, {&given.screen, "screen"}})
            if (*value)
                return failure(std::string("--") + name + " goes with --grab");
        return result;
    }

    result.action = CommandLine::Action::Grab;
    result.file = *given.grab;
    if (result.file.empty())
        return failure("--grab needs a file name");
    if (given.region) {
        result.region = parseRegion(*given.region);
        if (!result.region)
            return failure("--region must look like WxH+X+Y, e.g. 640x480+100+50");
    }
    if (given.delay) {
        const std::optional<double> seconds = wholeNumber(*given.delay);
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
        const std::optional<double> quality = wholeNumber(*given.quality);
        if (!quality || *quality != std::floor(*quality) || *quality < 1 || *quality > 100)
            return failure("--quality must be a whole number from 1 to 100");
        result.quality = int(*quality);
        if (result.format && *result.format != GrabFormat::Jpeg)
            return failure("--quality goes with JPEG only");
    }
    if (given.screen) {
        result.screen = lowerCase(*given.screen);
        if (!screenSourceNamed(result.screen))
            return failure("--screen must be x11, screencopy, kwin or portal");
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
  --grab <FILE|FOLDER|->  Grab the screen into FILE (.png, .jpg or .bmp) and
                          exit. Into a FOLDER (an existing one, or a name ending
                          in /): a new file named after the moment. - writes to
                          standard output.
  --region <WxH+X+Y>      Grab only this area of the screen, e.g.
                          640x480+100+50.
  --delay <SECONDS>       Wait this many seconds before grabbing.
  --format <png|jpg|bmp>  Write this format whatever the file's name ends in;
                          png when the name does not decide (a folder or -).
  --quality <N>           JPEG quality from 1 to 100 (default 90).
  --screen <SOURCE>       Read the screen through x11, screencopy (Wayland
                          compositors such as sway), kwin (KDE Plasma's
                          KWin, for the installed program) or portal (the
                          desktop portal's screenshot: GNOME, KDE) instead
                          of the session's own choice; also QUORVEX7_SCREEN.
)";
}

} // namespace quorvex
