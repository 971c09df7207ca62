#pragma once

#include <QRect>
#include <QString>
#include <QStringList>
#include <optional>

namespace quorvex {

// What the command line asks for. No option at all starts the program's window.
struct CommandLine {
    enum class Action { StartWindow, Grab, Help, Version, Error };
    Action action = Action::StartWindow;
    QString file; // --grab FILE
    std::optional<QRect> region; // --region WxH+X+Y
    double delaySeconds = 0; // --delay SECONDS
    QString error; // one line, for Action::Error
};

// "WxH+X+Y" (X geometry, offsets may be negative); empty when malformed or not at least 1 x 1.
std::optional<QRect> parseRegion(const QString& text);

CommandLine parseCommandLine(const QStringList& arguments);
QString commandLineHelp();

} // namespace quorvex
