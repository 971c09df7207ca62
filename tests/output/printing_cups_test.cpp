#include "output/print_fit.h"
#include "output/printing.h"
#include "output/qt_printer.h"

#include "fakes.h"
#include "test_images.h"

#include <QDeadlineTimer>
#include <QPainter>
#include <QPrinterInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QTransform>
#include <gtest/gtest.h>
#include <limits>

using namespace quorvex;
using testsupport::RecordingMessageBoxes;
using testsupport::RecordingPrinter;

TEST(Printing, PageFitTurnsThePageAndLaterPlainPrintsKeepItsOrientation)
{
    RecordingPrinter printer;
    RecordingMessageBoxes messages;
    QImage wide = testsupport::asymmetricPattern(200, 100), high = testsupport::asymmetricPattern(30, 60);
    for (QImage* picture : {&wide, &high}) {
        picture->setDotsPerMeterX(3780);
        picture->setDotsPerMeterY(3780);
    }
    // Plain prints take the natural size, 2540 / 96 HIMETRIC a pixel (1587.5 goes to the even 1588).
    mnuPrintToFitClick(printer, messages, wide);
    mnuPrintNormalClick(printer, messages, high);
    EXPECT_TRUE(messages.shown.isEmpty());
    EXPECT_EQ(printer.sent,
        (QList<RecordingPrinter::Page>{{PageOrientation::Landscape, {27000, 13500}, {200, 100}},
            {PageOrientation::Landscape, {794, 1588}, {30, 60}}}));

    // Failures show "Failed print" and send nothing.
    const Message failed{
        "An unexpected error ocurred. The printer may be out of paper or the default printer "
        "may not be available",
        MessageIcon::Information, "Failed print"};
    for (const bool fit : {false, true}) {
        RecordingPrinter refusing;
        refusing.endFails = true;
        RecordingPrinter unreachable;
        unreachable.reachable = false;
        for (RecordingPrinter* p : {&refusing, &unreachable}) {
            RecordingMessageBoxes shown;
            fit ? mnuPrintToFitClick(*p, shown, wide) : mnuPrintNormalClick(*p, shown, wide);
            EXPECT_TRUE(p->sent.isEmpty()) << fit;
            EXPECT_EQ(shown.shown, QList<Message>{failed}) << fit;
        }
    }
}

TEST(PrintFit, OrientationFollowsTheLongerSideAndTheFitKeepsTheAspectRatio)
{
    EXPECT_EQ(orientationFor(10000, 10000), PageOrientation::Portrait); // a square is portrait

    const double nan = std::numeric_limits<double>::quiet_NaN();
    const float infinity = std::numeric_limits<float>::infinity();
    const struct {
        double width, height;
        float areaWidth, areaHeight;
        std::optional<PrintSize> expected;
    } cases[] = {{10000, 20000, 19000, 27000, PrintSize{13500, 27000}}, // relatively higher: full height
        {100000, 10, 27000, 19000, PrintSize{27000, 2.7f}}, // very wide: a strip across the top
        // nothing fits without a width or height
        {100, 0, 27000, 19000, {}}, {100, 100, 0, 19000, {}}, {-5, 100, 27000, 19000, {}},
        {nan, 100, 27000, 19000, {}}, {100, 100, infinity, 19000, {}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(
            testing::Message() << c.width << "x" << c.height << " on " << c.areaWidth << "x" << c.areaHeight);
        const std::optional<PrintSize> fitted
            = fitToPrintableArea(c.width, c.height, c.areaWidth, c.areaHeight);
        ASSERT_EQ(fitted.has_value(), c.expected.has_value());
        if (fitted) {
            EXPECT_FLOAT_EQ(fitted->width, c.expected->width);
            EXPECT_FLOAT_EQ(fitted->height, c.expected->height);
        }
    }
}

// The private CUPS's printer QuorvexPDF writes each job as PJL + PDF to $QUORVEX_PDF_OUT.
// Red left, blue right: a portrait or wrongly turned page puts the ink elsewhere.
TEST(PrintingOnCups, PageFitOfAWidePictureIsLandscapeAtTheTopLeft)
{
    ASSERT_EQ(QPrinterInfo::defaultPrinterName(), QStringLiteral("QuorvexPDF"))
        << "no private CUPS server: run under tests/support/run_with_cups.sh";
    QImage picture(400, 100, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    QPainter(&picture).fillRect(0, 0, 200, 100, Qt::red);
    RecordingMessageBoxes messages;
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
