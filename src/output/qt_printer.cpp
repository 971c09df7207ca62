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
    : m_printerName(std::move(printerName))
    , m_documentName(std::move(documentName))
{
}

QtPrinter::~QtPrinter()
{
    if (m_painter)
        m_printer->abort();
}

bool QtPrinter::reachPrinter()
{
    const QString name = m_printerName.isEmpty() ? QPrinterInfo::defaultPrinterName() : m_printerName;
    // Checked first because QPrinter quietly keeps its last printer when given a name it does not know.
    if (name.isEmpty() || QPrinterInfo::printerInfo(name).isNull())
        return false;
    // Made only now: a QPrinter made while no printer exists stays a PDF writer.
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    if (m_printer->printerName() != name)
        m_printer->setPrinterName(name);
    if (m_orientation && !m_painter)
        m_printer->setPageOrientation(toQt(*m_orientation));
    return m_printer->isValid() && m_printer->outputFormat() == QPrinter::NativeFormat
        && m_printer->printerName() == name;
}

void QtPrinter::setOrientation(PageOrientation orientation)
{
    m_orientation = orientation;
}

std::optional<PrintSize> QtPrinter::printableArea()
{
    if (!reachPrinter())
        return std::nullopt;
    const QRectF area = m_printer->pageLayout().paintRect(QPageLayout::Millimeter);
    return PrintSize{
        float(area.width() * kHimetricPerMillimetre), float(area.height() * kHimetricPerMillimetre)};
}

bool QtPrinter::paintPicture(const QImage& picture, const PrintSize& size)
{
    if (!m_painter) {
        if (!reachPrinter())
            return false;
        m_printer->setDocName(m_documentName);
        auto painter = std::make_unique<QPainter>();
        if (!painter->begin(m_printer.get()))
            return false;
        m_painter = std::move(painter);
    }
    // The painter's origin is the top-left corner of the printable area.
    const QRectF target(0, 0, size.width * m_printer->logicalDpiX() / kHimetricPerInch,
        size.height * m_printer->logicalDpiY() / kHimetricPerInch);
    m_painter->drawImage(target, picture);
    return true;
}

bool QtPrinter::endDoc()
{
    if (!m_painter)
        return false;
    const bool ended = m_painter->end();
    m_painter.reset();
    return ended && m_printer->printerState() != QPrinter::Error;
}

} // namespace quorvex
