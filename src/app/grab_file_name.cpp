#include "app/grab_file_name.h"

namespace quorvex {

QString grabFileName(const QDateTime& moment, GrabFormat format, int attempt)
{
    // Hyphens between the time's fields: a colon is not allowed in file names everywhere.
    const QString stem = QStringLiteral("Quorvex7 ") + moment.toString(QStringLiteral("yyyy-MM-dd HH-mm-ss"));
    const QString taken = attempt > 1 ? QStringLiteral(" (%1)").arg(attempt) : QString();
    return stem + taken + QLatin1Char('.') + grabFormatEnding(format);
}

} // namespace quorvex
