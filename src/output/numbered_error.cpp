#include "output/numbered_error.h"

#include <QFileInfo>

namespace quorvex {

NumberedError::NumberedError(int number, QString source, QString description)
    : std::runtime_error((source + QStringLiteral(": ") + description).toStdString())
    , number_(number)
    , source_(std::move(source))
    , description_(std::move(description))
{
}

QString executableBaseName()
{
    // /proc/self/exe works before (and without) a QCoreApplication, unlike applicationFilePath().
    const QFileInfo executable(QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget());
    return executable.completeBaseName();
}

QString errorSource(const QString& module)
{
    return executableBaseName() + QLatin1Char('.') + module;
}

} // namespace quorvex
