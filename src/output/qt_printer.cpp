#include "output/qt_printer.h"

#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

namespace quorvex {

namespace {

constexpr double kHimetricPerMillimetre = 100;
constexpr double kHimetricPerInch = 2540;

QPageLayout::Orientation toQt(PageOrientation orientation)
{
    return orientation == PageOrientation::Landscape ? QPageLayout::Landscape : QPageLayout::Portrait;
}

} // namespace

QtPrinter::QtPrinter(QString printerName, QString documentName)
    : printerName_(std::move(printerName))
    , documentName_(std::move(documentName))
{
}

QtPrinter::~QtPrinter()
{
    if (painter_)
        printer_->abort();
}

bool QtPrinter::reachPrinter()
{
    const QString name = printerName_.isEmpty() ? QPrinterInfo::defaultPrinterName() : printerName_;
    // Checked first because QPrinter quietly keeps its last printer when given a name it does not know.
    if (name.isEmpty() || QPrinterInfo::printerInfo(name).isNull())
        return false;
    // Made only now: a QPrinter made while no printer exists stays a PDF writer.
    if (!printer_)
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    if (printer_->printerName() != name)
        printer_->setPrinterName(name);
    if (orientation_ && !painter_)
        printer_->setPageOrientation(toQt(*orientation_));
    return printer_->isValid() && printer_->outputFormat() == QPrinter::NativeFormat
        && printer_->printerName() == name;
}

void QtPrinter::setOrientation(PageOrientation orientation)
{
    orientation_ = orientation;
}

std::optional<PrintSize> QtPrinter::printableArea()
{
    if (!reachPrinter())
        return std::nullopt;
    const QRectF area = printer_->pageLayout().paintRect(QPageLayout::Millimeter);
    return PrintSize{
        float(area.width() * kHimetricPerMillimetre), float(area.height() * kHimetricPerMillimetre)};
}

bool QtPrinter::paintPicture(const QImage& picture, const PrintSize& size)
{
    if (!painter_) {
        if (!reachPrinter())
            return false;
        printer_->setDocName(documentName_);
        auto painter = std::make_unique<QPainter>();
        if (!painter->begin(printer_.get()))
            return false;
        painter_ = std::move(painter);
    }
    // The painter's origin is the top-left corner of the printable area.
    const QRectF target(0, 0, size.width * printer_->logicalDpiX() / kHimetricPerInch,
        size.height * printer_->logicalDpiY() / kHimetricPerInch);
    painter_->drawImage(target, picture);
    return true;
}

bool QtPrinter::endDoc()
{
    if (!painter_)
        return false;
    const bool ended = painter_->end();
    painter_.reset();
    return ended && printer_->printerState() != QPrinter::Error;
}

} // namespace quorvex
