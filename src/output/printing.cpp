#include "output/printing.h"

namespace quorvex {

bool PrintPictureNormal(Printer& prn, const QImage& pic)
{
    if (pic.isNull())
        return false;
    const QSize natural = pictureSizeHimetric(pic);
    return prn.paintPicture(pic, PrintSize{float(natural.width()), float(natural.height())}) && prn.endDoc();
}

bool PrintPictureToFitPage(Printer& prn, const QImage& pic)
{
    if (pic.isNull())
        return false;
    const QSize size = pictureSizeHimetric(pic);
    prn.setOrientation(orientationFor(size.width(), size.height()));
    const std::optional<PrintSize> area = prn.printableArea();
    if (!area)
        return false;
    const std::optional<PrintSize> fitted
        = fitToPrintableArea(size.width(), size.height(), area->width, area->height);
    if (!fitted)
        return false;
    const bool painted = prn.paintPicture(pic, *fitted);
    const bool sent = prn.endDoc();
    return painted && sent;
}

Message failedPrintMessage()
{
    return {
        QStringLiteral("An unexpected error ocurred. The printer may be out of paper or the default printer "
                       "may not be available"),
        MessageIcon::Information, QStringLiteral("Failed print")};
}

void mnuPrintNormalClick(Printer& printer, MessageBoxes& messages, const QImage& surface)
{
    if (!PrintPictureNormal(printer, surface))
        messages.show(failedPrintMessage());
}

void mnuPrintToFitClick(Printer& printer, MessageBoxes& messages, const QImage& surface)
{
    if (!PrintPictureToFitPage(printer, surface))
        messages.show(failedPrintMessage());
}

} // namespace quorvex
