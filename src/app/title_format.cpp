#include "app/title_format.h"

#include "common/message_box.h"
#include "common/numeric.h"

namespace quorvex {

namespace {
QString titleWith(const QString& width, const QString& height)
{
    return kProgramTitle + QStringLiteral(" - (") + width + QLatin1Char('x') + height + QLatin1Char(')');
}
} // namespace

QString titleInWholePixels(double widthPixels, double heightPixels)
{
    return titleWith(
        QString::number(roundHalfEven(widthPixels)), QString::number(roundHalfEven(heightPixels)));
}

QString titleInSinglePrecision(float widthPixels, float heightPixels)
{
    return titleWith(formatSingle(widthPixels), formatSingle(heightPixels));
}

} // namespace quorvex
