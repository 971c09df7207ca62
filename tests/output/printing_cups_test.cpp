#include "output/qt_printer.h"

#include "output_fakes.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QPrinterInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QTransform>
#include <gtest/gtest.h>

// Prints through a private CUPS server (tests/support/run_with_cups.sh) whose default printer,
// QuorvexPDF, writes each job as a PDF behind a short PJL header into $QUORVEX_PDF_OUT.
using namespace quorvex;
using outputtest::RecordingMessageBoxes;

namespace {

const QString kPdfPrinter = QStringLiteral("QuorvexPDF");

QString printerOutput()
{
    return qEnvironmentVariable("QUORVEX_PDF_OUT");
}

::testing::AssertionResult printServerIsReady()
{
    if (printerOutput().isEmpty() || QPrinterInfo::printerInfo(kPdfPrinter).isNull())
        return ::testing::AssertionFailure()
            << "no private CUPS server: run under tests/support/run_with_cups.sh";
    if (QPrinterInfo::defaultPrinterName() != kPdfPrinter)
        return ::testing::AssertionFailure() << kPdfPrinter.toStdString() << " is not the default printer ("
                                             << QPrinterInfo::defaultPrinterName().toStdString() << ")";
    return ::testing::AssertionSuccess();
}

QString runTool(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(30000);
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

// The PDF of the next finished job, which must carry this title, moved out of the printer's file
// into `dir`; empty after a minute.
QString takePrintedPdf(const QString& title, const QTemporaryDir& dir)
{
    const QByteArray jobName = "JOB NAME = \"" + title.toUtf8() + '"';
    const QDeadlineTimer deadline(60000);
    while (!deadline.hasExpired()) {
        QFile output(printerOutput());
        if (output.open(QIODevice::ReadOnly)) {
            const QByteArray job = output.readAll();
            const qsizetype pdfStart = job.indexOf("%PDF-");
            if (pdfStart >= 0 && job.indexOf("%%EOF", pdfStart) >= 0) {
                EXPECT_TRUE(job.left(pdfStart).contains(jobName)) << job.left(pdfStart).toStdString();
                static int count = 0;
                const QString path = dir.filePath(QStringLiteral("job%1.pdf").arg(++count));
                QFile pdf(path);
                if (!pdf.open(QIODevice::WriteOnly) || pdf.write(job.mid(pdfStart)) < 0)
                    return {};
                output.remove();
                return path;
            }
        }
        QCoreApplication::processEvents();
        QThread::msleep(100);
    }
    return {};
}

struct PdfPage {
    int pages = 0;
    QSizeF size; // points
    QImage rendered; // at 72 dpi: one pixel per point
};

// The page as it reads when held in landscape. CUPS prints a landscape job on an upright sheet
// with the content turned a quarter counter-clockwise, so the sheet is turned back clockwise.
QImage landscapeView(const PdfPage& page)
{
    if (page.size.width() > page.size.height())
        return page.rendered;
    return page.rendered.transformed(QTransform().rotate(90));
}

PdfPage readPdf(const QString& path)
{
    PdfPage page;
    const QString info = runTool("pdfinfo", {path});
    for (const QString& line : info.split('\n')) {
        if (line.startsWith("Pages:"))
            page.pages = line.section(':', 1).trimmed().toInt();
        if (line.startsWith("Page size:")) {
            const QStringList words = line.section(':', 1).simplified().split(' ');
            page.size = QSizeF(words.value(0).toDouble(), words.value(2).toDouble());
        }
    }
    QTemporaryDir dir;
    runTool("pdftoppm", {"-r", "72", "-png", "-singlefile", path, dir.filePath("page")});
    page.rendered = QImage(dir.filePath("page.png"));
    return page;
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
    picture.fill(qRgb(0, 0, 255));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width / 2; ++x)
            picture.setPixel(x, y, qRgb(255, 0, 0));
    picture.setDotsPerMeterX(3780);
    picture.setDotsPerMeterY(3780);
    return picture;
}

bool isReddish(QRgb c)
{
    return qRed(c) > 180 && qBlue(c) < 90;
}

bool isBluish(QRgb c)
{
    return qBlue(c) > 180 && qRed(c) < 90;
}

// Where the printable area of the printer's page lies, in points, for one orientation.
QRectF printableAreaInPoints(QPageLayout::Orientation orientation)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPrinterName(kPdfPrinter);
    printer.setPageOrientation(orientation);
    return printer.pageLayout().paintRect(QPageLayout::Point);
}

} // namespace

TEST(PrintingOnCups, PageFitOfAWidePictureIsLandscapeAtTheTopLeftAndSoIsAPlainPrintAfterIt)
{
    ASSERT_TRUE(printServerIsReady());
    const QString fitTitle = QStringLiteral("QuorvexFit");
    QTemporaryDir pdfs;
    RecordingMessageBoxes messages;
    QtPrinter fitPrinter({}, fitTitle);
    mnuPrintToFitClick(fitPrinter, messages, redAndBlue(400, 100));
    EXPECT_TRUE(messages.shown.isEmpty());

    const QString fitPdf = takePrintedPdf(fitTitle, pdfs);
    ASSERT_FALSE(fitPdf.isEmpty()) << "no PDF for the page-fit print";
    const PdfPage page = readPdf(fitPdf);
    EXPECT_EQ(page.pages, 1);
    const QImage landscape = landscapeView(page);
    ASSERT_GT(landscape.width(), landscape.height());

    // A portrait print, or one turned the wrong way, puts the picture elsewhere in this view, at
    // another size, or with blue on the left.
    const QRectF area = printableAreaInPoints(QPageLayout::Landscape);
    const QRect ink = inkBounds(landscape);
    EXPECT_NEAR(ink.left(), area.left(), 2);
    EXPECT_NEAR(ink.top(), area.top(), 2);
    EXPECT_NEAR(ink.width(), area.width(), 2) << "does not fill the printable width";
    EXPECT_NEAR(ink.height(), area.width() / 4, 2) << "aspect ratio lost";
    EXPECT_TRUE(isReddish(landscape.pixel(ink.left() + ink.width() / 4, ink.center().y())));
    EXPECT_TRUE(isBluish(landscape.pixel(ink.left() + ink.width() * 3 / 4, ink.center().y())));

    // The same printer object prints the next plain page in landscape too, at the natural size:
    // 96 pixels at 96 dpi are one inch, 72 points.
    mnuPrintNormalClick(fitPrinter, messages, redAndBlue(96, 48));
    EXPECT_TRUE(messages.shown.isEmpty());
    const QString plainPdf = takePrintedPdf(fitTitle, pdfs);
    ASSERT_FALSE(plainPdf.isEmpty()) << "no PDF for the plain print";
    const PdfPage plain = readPdf(plainPdf);
    EXPECT_EQ(plain.pages, 1);
    EXPECT_EQ(plain.size, page.size);
    const QImage plainLandscape = landscapeView(plain);
    const QRect plainInk = inkBounds(plainLandscape);
    EXPECT_NEAR(plainInk.left(), area.left(), 2);
    EXPECT_NEAR(plainInk.top(), area.top(), 2);
    EXPECT_NEAR(plainInk.width(), 72, 2) << "the plain print lost the landscape or its size";
    EXPECT_NEAR(plainInk.height(), 36, 2);
    EXPECT_TRUE(isReddish(plainLandscape.pixel(plainInk.left() + 18, plainInk.center().y())));
}

TEST(PrintingOnCups, NoPrinterMeansFailedPrintAndNoPage)
{
    ASSERT_TRUE(printServerIsReady());
    const QString title = QStringLiteral("QuorvexNoPrinter");
    QTemporaryDir pdfs;
    RecordingMessageBoxes messages;
    QtPrinter missing(QStringLiteral("QuorvexNoSuchPrinter"), title);
    mnuPrintNormalClick(missing, messages, redAndBlue(40, 20));
    mnuPrintToFitClick(missing, messages, redAndBlue(40, 20));
    EXPECT_EQ(messages.shown.size(), 2) << "a printer that does not exist";

    // CUPS takes $PRINTER as the user's default printer: one that does not exist means none.
    const QByteArray savedPrinter = qgetenv("PRINTER");
    qputenv("PRINTER", "QuorvexNoSuchPrinter");
    QtPrinter byDefault({}, title);
    mnuPrintNormalClick(byDefault, messages, redAndBlue(40, 20));
    mnuPrintToFitClick(byDefault, messages, redAndBlue(40, 20));
    if (savedPrinter.isNull())
        qunsetenv("PRINTER");
    else
        qputenv("PRINTER", savedPrinter);
    ASSERT_TRUE(printServerIsReady()) << "the default printer is not back";

    ASSERT_EQ(messages.shown.size(), 4) << "no default printer";
    for (const Message& message : messages.shown)
        EXPECT_EQ(message,
            (Message{
                "An unexpected error ocurred. The printer may be out of paper or the default printer may not "
                "be available",
                MessageIcon::Information, "Failed print"}));
    QThread::sleep(2);
    EXPECT_FALSE(QFile::exists(printerOutput())) << "a page was printed";

    // Once there is a default printer again, the same printer object finds it.
    messages.shown.clear();
    mnuPrintNormalClick(byDefault, messages, redAndBlue(40, 20));
    EXPECT_TRUE(messages.shown.isEmpty());
    EXPECT_FALSE(takePrintedPdf(title, pdfs).isEmpty()) << "no page once the default printer is back";
}
