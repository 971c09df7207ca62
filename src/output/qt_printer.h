#pragma once

#include "common/message_box.h"
#include "output/printing.h"

#include <QPrinter>
#include <memory>

class QPainter;

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

    QString printerName_;
    QString documentName_;
    QPrinter printer_{QPrinter::HighResolution};
    std::optional<PageOrientation> orientation_;
    std::unique_ptr<QPainter> painter_; // set while a document is open
};

} // namespace quorvex
