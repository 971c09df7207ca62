#include "app/command_line.h"

#include <QCommandLineParser>
#include <QRegularExpression>
#include <cmath>

namespace quorvex {

namespace {

QCommandLineOption grabOption()
{
    return {QStringLiteral("grab"), QStringLiteral("Grab the screen into FILE (.bmp or .jpg) and exit."),
        QStringLiteral("FILE")};
}
QCommandLineOption regionOption()
{
    return {QStringLiteral("region"),
        QStringLiteral("Grab only this area of the screen, e.g. 640x480+100+50."), QStringLiteral("WxH+X+Y")};
}
QCommandLineOption delayOption()
{
    return {QStringLiteral("delay"), QStringLiteral("Wait this many seconds before grabbing."),
        QStringLiteral("SECONDS")};
}

void describe(QCommandLineParser& parser)
{
    parser.setApplicationDescription(
        QStringLiteral("Quorvex7 grabs the screen. Without options it opens its window."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOption(grabOption());
    parser.addOption(regionOption());
    parser.addOption(delayOption());
}

CommandLine failure(const QString& message)
{
    CommandLine result;
    result.action = CommandLine::Action::Error;
    result.error = message;
    return result;
}

} // namespace

std::optional<QRect> parseRegion(const QString& text)
{
    static const QRegularExpression form(
        QStringLiteral(R"(^(\d{1,9})x(\d{1,9})([+-]\d{1,9})([+-]\d{1,9})$)"));
    const QRegularExpressionMatch m = form.match(text.trimmed());
    if (!m.hasMatch())
        return std::nullopt;
    const int width = m.captured(1).toInt();
    const int height = m.captured(2).toInt();
    if (width < 1 || height < 1)
        return std::nullopt;
    return QRect(m.captured(3).toInt(), m.captured(4).toInt(), width, height);
}

CommandLine parseCommandLine(const QStringList& arguments)
{
    QCommandLineParser parser;
    describe(parser);
    if (!parser.parse(arguments))
        return failure(parser.errorText());
    if (!parser.positionalArguments().isEmpty())
        return failure(QStringLiteral("unexpected argument '%1'").arg(parser.positionalArguments().first()));

    CommandLine result;
    if (parser.isSet(QStringLiteral("help"))) {
        result.action = CommandLine::Action::Help;
        return result;
    }
    if (parser.isSet(QStringLiteral("version"))) {
        result.action = CommandLine::Action::Version;
        return result;
    }
    const bool grab = parser.isSet(grabOption());
    if (!grab) {
        if (parser.isSet(regionOption()) || parser.isSet(delayOption()))
            return failure(QStringLiteral("--region and --delay go with --grab FILE"));
        return result;
    }

    result.action = CommandLine::Action::Grab;
    result.file = parser.value(grabOption());
    if (result.file.isEmpty())
        return failure(QStringLiteral("--grab needs a file name"));
    if (parser.isSet(regionOption())) {
        result.region = parseRegion(parser.value(regionOption()));
        if (!result.region)
            return failure(QStringLiteral("--region must look like WxH+X+Y, e.g. 640x480+100+50"));
    }
    if (parser.isSet(delayOption())) {
        bool ok = false;
        result.delaySeconds = parser.value(delayOption()).toDouble(&ok);
        if (!ok || !std::isfinite(result.delaySeconds) || result.delaySeconds < 0
            || result.delaySeconds > 86400)
            return failure(QStringLiteral("--delay must be a number of seconds from 0 to 86400"));
    }
    return result;
}

QString commandLineHelp()
{
    QCommandLineParser parser;
    describe(parser);
    return parser.helpText();
}

} // namespace quorvex
