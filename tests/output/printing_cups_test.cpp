#include "output/qt_printer.h"

#include "fakes.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QPainter>
#include <QPrinterInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QTransform>
#include <gtest/gtest.h>

// Prints through a private CUPS server (tests/support/run_with_cups.sh) whose default printer,
// QuorvexPDF, writes each job as a PDF behind a short PJL header into $QUORVEX_PDF_OUT.
using namespace quorvex;
using testsupport::RecordingMessageBoxes;

namespace {

// The next finished job's PDF rendered at 72 dpi (a pixel a point) as it reads held in landscape
// (CUPS puts a landscape job on an upright sheet turned a quarter counter-clockwise); null after a minute.
QImage takePrintedLandscapePage(const QTemporaryDir& dir)
{
    const QString pdf = dir.filePath(QStringLiteral("job.pdf"));
    for (const QDeadlineTimer deadline(60000); !deadline.hasExpired(); QThread::msleep(100)) {
        QFile output(qEnvironmentVariable("QUORVEX_PDF_OUT"));
        const QByteArray job = output.open(QIODevice::ReadOnly) ? output.readAll() : QByteArray();
        const qsizetype start = job.indexOf("%PDF-");
        if (start < 0 || job.indexOf("%%EOF", start) < 0)
            continue;
        QFile file(pdf);
        if (!file.open(QIODevice::WriteOnly) || file.write(job.mid(start)) < 0)
            return {};
        file.close();
        output.remove();
        QProcess::execute("pdftoppm", {"-r", "72", "-png", "-singlefile", pdf, dir.filePath("page")});
        const QImage page(dir.filePath("page.png"));
        return page.width() > page.height() ? page : page.transformed(QTransform().rotate(90));
    }
    return {};
}

QRect inkBounds(const QImage& image)
{
    QRect bounds;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 200)
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

// Red on the left, blue on the right, so a turned or mirrored page shows.
QImage redAndBlue(int width, int height)
{
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    QPainter(&picture).fillRect(0, 0, width / 2, height, Qt::red);
    return picture;
}

} // namespace

TEST(PrintingOnCups, PageFitOfAWidePictureIsLandscapeAtTheTopLeftAndNoPrinterPrintsNothing)
{
    ASSERT_EQ(QPrinterInfo::defaultPrinterName(), QStringLiteral("QuorvexPDF"))
        << "no private CUPS server: run under tests/support/run_with_cups.sh";
    QTemporaryDir pdfs;
    RecordingMessageBoxes messages;
    QtPrinter printer({}, QStringLiteral("QuorvexFit"));
    mnuPrintToFitClick(printer, messages, redAndBlue(400, 100));
    EXPECT_TRUE(messages.shown.isEmpty());
    const QImage page = takePrintedLandscapePage(pdfs);
    ASSERT_FALSE(page.isNull()) << "no PDF for the page-fit print";

    // A portrait print, or one turned the wrong way, puts the picture elsewhere, at another size, or
    // with blue on the left.
    QPrinter qprinter(QPrinter::HighResolution);
    qprinter.setPrinterName(QStringLiteral("QuorvexPDF"));
    qprinter.setPageOrientation(QPageLayout::Landscape);
    const QRectF area = qprinter.pageLayout().paintRect(QPageLayout::Point);
    const QRect ink = inkBounds(page);
    EXPECT_NEAR(ink.left(), area.left(), 2);
    EXPECT_NEAR(ink.top(), area.top(), 2);
    EXPECT_NEAR(ink.width(), area.width(), 2) << "does not fill the printable width";
    EXPECT_NEAR(ink.height(), area.width() / 4, 2) << "aspect ratio lost";
    EXPECT_GT(qRed(page.pixel(ink.left() + ink.width() / 4, ink.center().y())), 180);
    EXPECT_GT(qBlue(page.pixel(ink.left() + ink.width() * 3 / 4, ink.center().y())), 180);

    // CUPS takes $PRINTER as the user's default printer: one that does not exist means none.
    qputenv("PRINTER", "QuorvexNoSuchPrinter");
    QtPrinter byDefault({}, QStringLiteral("QuorvexNoPrinter"));
    mnuPrintNormalClick(byDefault, messages, redAndBlue(40, 20));
    mnuPrintToFitClick(byDefault, messages, redAndBlue(40, 20));
    qunsetenv("PRINTER");
    ASSERT_EQ(messages.shown.size(), 2);
    for (const Message& message : messages.shown)
        EXPECT_EQ(message.caption, QStringLiteral("Failed print"));
    QThread::sleep(2);
    EXPECT_FALSE(QFile::exists(qEnvironmentVariable("QUORVEX_PDF_OUT"))) << "a page was printed";
}
