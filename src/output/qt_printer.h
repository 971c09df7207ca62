#pragma once

#include "common/message_box.h"
#include "output/printing.h"

#include <QString>
#include <memory>

class QPainter;
class QPrinter;

namespace quorvex {

// The printer over QPrinter, printing through CUPS with no dialog. With no name it prints on the
// system's default printer, looked up again at each print so that a printer set up later is found.
// Jobs carry `documentName` as their title.
class QtPrinter final : public Printer {
public:
    explicit QtPrinter(QString printerName = {}, QString documentName = kProgramTitle);
    ~QtPrinter() override;

    void setOrientation(PageOrientation orientation) override;
    std::optional<PrintSize> printableArea() override;
    bool paintPicture(const QImage& picture, const PrintSize& size) override;
    bool endDoc() override;

private:
    bool reachPrinter();

    QString m_printerName;
    QString m_documentName;
    std::optional<PageOrientation> m_orientation; // kept for later jobs, as the printer keeps it
    std::unique_ptr<QPrinter> m_printer; // made once a printer can be reached
    std::unique_ptr<QPainter> m_painter; // set while a document is open
};

} // namespace quorvex
