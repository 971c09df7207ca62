#pragma once

#include <QRect>
#include <QString>
#include <QStringList>
#include <optional>

namespace quorvex {

// The formats a command-line grab writes.
enum class GrabFormat { Bmp, Jpeg, Png };

// What the command line asks for. No option at all starts the program's window.
struct CommandLine {
    enum class Action { StartWindow, Grab, Help, Version, Error };
    Action action = Action::StartWindow;
    QString file; // --grab FILE, a folder (a new file named after the moment) or "-" (standard output)
    std::optional<GrabFormat> format; // --format; otherwise the file's name decides, PNG for the others
    std::optional<int> quality; // --quality, JPEG only
    std::optional<QRect> region; // --region WxH+X+Y
    double delaySeconds = 0; // --delay SECONDS
    QString error; // one line, for Action::Error
};

// "WxH+X+Y" (X geometry, offsets may be negative); empty when malformed or not at least 1 x 1.
std::optional<QRect> parseRegion(const QString& text);

// By the last three characters of the name in any case, as Save As decides: BMP, JPG, or PNG.
std::optional<GrabFormat> grabFormatForName(const QString& path);
// "bmp", "jpg", "png": what --format takes and a new file's ending.
QString grabFormatEnding(GrabFormat format);

CommandLine parseCommandLine(const QStringList& arguments);
QString commandLineHelp();

} // namespace quorvex
