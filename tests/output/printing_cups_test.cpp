#include "output/qt_printer.h"

#include "fakes.h"

#include <QDeadlineTimer>
#include <QPainter>
#include <QPrinterInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QTransform>
#include <gtest/gtest.h>

// Under tests/support/run_with_cups.sh: printer QuorvexPDF writes each job as PJL + PDF to $QUORVEX_PDF_OUT.
using namespace quorvex;

// Red left, blue right: a portrait or wrongly turned page puts the ink elsewhere.
TEST(PrintingOnCups, PageFitOfAWidePictureIsLandscapeAtTheTopLeft)
{
    ASSERT_EQ(QPrinterInfo::defaultPrinterName(), QStringLiteral("QuorvexPDF"))
        << "no private CUPS server: run under tests/support/run_with_cups.sh";
    QImage picture(400, 100, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    QPainter(&picture).fillRect(0, 0, 200, 100, Qt::red);
    testsupport::RecordingMessageBoxes messages;
    QtPrinter printer({}, QStringLiteral("QuorvexFit"));
    mnuPrintToFitClick(printer, messages, picture);
    EXPECT_TRUE(messages.shown.isEmpty());

    QByteArray job;
    for (const QDeadlineTimer deadline(60000); !deadline.hasExpired() && !job.contains("%%EOF");
         QThread::msleep(100)) {
        QFile output(qEnvironmentVariable("QUORVEX_PDF_OUT"));
        job = output.open(QIODevice::ReadOnly) ? output.readAll() : QByteArray();
    }
    ASSERT_TRUE(job.contains("%PDF-") && job.contains("%%EOF")) << "no PDF for the page-fit print";
    QTemporaryDir dir;
    QFile pdf(dir.filePath("job.pdf"));
    ASSERT_TRUE(pdf.open(QIODevice::WriteOnly) && pdf.write(job.mid(job.indexOf("%PDF-"))) > 0);
    pdf.close();
    QProcess::execute("pdftoppm", {"-r", "72", "-png", "-singlefile", pdf.fileName(), dir.filePath("page")});
    QImage page(dir.filePath("page.png")); // a pixel a point
    if (page.width() < page.height()) // CUPS puts landscape on an upright sheet, turned counter-clockwise
        page = page.transformed(QTransform().rotate(90));

    QRect ink;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            if (qGray(page.pixel(x, y)) < 200)
                ink |= QRect(x, y, 1, 1);
    QPrinter qprinter(QPrinter::HighResolution);
    qprinter.setPrinterName(QStringLiteral("QuorvexPDF"));
    qprinter.setPageOrientation(QPageLayout::Landscape);
    const QRectF area = qprinter.pageLayout().paintRect(QPageLayout::Point);
    EXPECT_NEAR(ink.left(), area.left(), 2);
    EXPECT_NEAR(ink.top(), area.top(), 2);
    EXPECT_NEAR(ink.width(), area.width(), 2) << "does not fill the printable width";
    EXPECT_NEAR(ink.height(), area.width() / 4, 2) << "aspect ratio lost";
    EXPECT_GT(qRed(page.pixel(ink.left() + ink.width() / 4, ink.center().y())), 180);
    EXPECT_GT(qBlue(page.pixel(ink.left() + ink.width() * 3 / 4, ink.center().y())), 180);
}
