#include "app/command_line.h"

#include <QCommandLineParser>
#include <QRegularExpression>
#include <cmath>

namespace quorvex {

namespace {

QCommandLineOption grabOption()
{
    return {QStringLiteral("grab"),
        QStringLiteral("Grab the screen into FILE (.png, .jpg or .bmp) and exit. Into a FOLDER (an existing "
                       "one, or a name ending in /): a new file named after the moment. - writes to "
                       "standard output."),
        QStringLiteral("FILE|FOLDER|-")};
}
QCommandLineOption formatOption()
{
    return {QStringLiteral("format"),
        QStringLiteral("Write this format whatever the file's name ends in; png when the name does not "
                       "decide (a folder or -)."),
        QStringLiteral("png|jpg|bmp")};
}
QCommandLineOption qualityOption()
{
    return {QStringLiteral("quality"), QStringLiteral("JPEG quality from 1 to 100 (default 90)."),
        QStringLiteral("N")};
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
    parser.addOption(formatOption());
    parser.addOption(qualityOption());
}

constexpr GrabFormat kGrabFormats[] = {GrabFormat::Png, GrabFormat::Jpeg, GrabFormat::Bmp};

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

std::optional<GrabFormat> grabFormatForName(const QString& path)
{
    for (const GrabFormat format : kGrabFormats)
        if (path.endsWith(grabFormatEnding(format), Qt::CaseInsensitive))
            return format;
    return std::nullopt;
}

QString grabFormatEnding(GrabFormat format)
{
    switch (format) {
    case GrabFormat::Bmp:
        return QStringLiteral("bmp");
    case GrabFormat::Jpeg:
        return QStringLiteral("jpg");
    case GrabFormat::Png:
        break;
    }
    return QStringLiteral("png");
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
        for (const QCommandLineOption& option :
            {regionOption(), delayOption(), formatOption(), qualityOption()})
            if (parser.isSet(option))
                return failure(QStringLiteral("--%1 goes with --grab").arg(option.names().first()));
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
    if (parser.isSet(formatOption())) {
        const QString name = parser.value(formatOption()).toLower();
        for (const GrabFormat format : kGrabFormats)
            if (name == grabFormatEnding(format))
                result.format = format;
        if (name == QLatin1String("jpeg"))
            result.format = GrabFormat::Jpeg;
        if (!result.format)
            return failure(QStringLiteral("--format must be png, jpg or bmp"));
    }
    if (parser.isSet(qualityOption())) {
        bool ok = false;
        result.quality = parser.value(qualityOption()).toInt(&ok);
        if (!ok || *result.quality < 1 || *result.quality > 100)
            return failure(QStringLiteral("--quality must be a whole number from 1 to 100"));
        if (result.format && *result.format != GrabFormat::Jpeg)
            return failure(QStringLiteral("--quality goes with JPEG only"));
    }
    return result;
}

QString commandLineHelp()
{
    QCommandLineParser parser;
    describe(parser);
    // Without a QCoreApplication (a grab loads none) the parser does not know the program's name.
    return parser.helpText().replace(QLatin1String("<executable_name>"), QLatin1String("quorvex7"));
}

} // namespace quorvex
