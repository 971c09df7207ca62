#include "app/twips_layout.h"

#include <QFontMetrics>
#include <QWidget>

namespace quorvex {

QRect pixelRect(const Twips& twips, double left, double top, double width, double height)
{
    return {twips.toPixelsX(left), twips.toPixelsY(top), twips.toPixelsX(width), twips.toPixelsY(height)};
}

void placeInTwips(QWidget* widget, const Twips& twips, double left, double top, double width, double height)
{
    widget->setGeometry(pixelRect(twips, left, top, width, height));
}

void shrinkFontToFit(QLabel* label, int width)
{
    constexpr double kSmallestPointSize = 6;
    QFont font = label->font();
    auto fits = [&] {
        const QFontMetrics metrics(font);
        return metrics.horizontalAdvance(label->text()) <= width && metrics.height() <= label->height();
    };
    while (!fits() && font.pointSizeF() - 0.25 >= kSmallestPointSize)
        font.setPointSizeF(font.pointSizeF() - 0.25);
    label->setFont(font);
}

} // namespace quorvex
