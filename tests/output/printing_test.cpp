#include "output/printing.h"

#include "output_fakes.h"
#include "test_images.h"

#include <gtest/gtest.h>

using namespace quorvex;
using outputtest::RecordingMessageBoxes;

namespace {

using outputtest::RecordingPrinter;

QImage pictureAt96Dpi(int width, int height)
{
    QImage picture = testsupport::asymmetricPattern(width, height);
    picture.setDotsPerMeterX(3780);
    picture.setDotsPerMeterY(3780);
    return picture;
}

} // namespace

TEST(Printing, PageFitTurnsThePageAndLaterPlainPrintsKeepItsOrientation)
{
    RecordingPrinter printer;
    RecordingMessageBoxes messages;
    // Plain prints take the natural size, 2540 / 96 HIMETRIC a pixel (1587.5 goes to the even 1588).
    mnuPrintNormalClick(printer, messages, pictureAt96Dpi(100, 50));
    mnuPrintToFitClick(printer, messages, pictureAt96Dpi(200, 100));
    mnuPrintNormalClick(printer, messages, pictureAt96Dpi(30, 60));
    mnuPrintToFitClick(printer, messages, pictureAt96Dpi(50, 50));
    EXPECT_TRUE(messages.shown.isEmpty());
    using P = RecordingPrinter::Page;
    EXPECT_EQ(printer.sent,
        (QList<P>{{PageOrientation::Portrait, {2646, 1323}, {100, 50}},
            {PageOrientation::Landscape, {27000, 13500}, {200, 100}},
            {PageOrientation::Landscape, {794, 1588}, {30, 60}},
            {PageOrientation::Portrait, {19000, 19000}, {50, 50}}}));
}

TEST(PrintFailures, ShowFailedPrintAndSendNothing)
{
    const QImage wide = pictureAt96Dpi(200, 100);
    const struct {
        const char* what;
        bool fit;
        QImage picture;
        bool reachable, paintFails, endFails;
        int endDocCalls;
    } cases[] = {
        {"plain, no printer", false, wide, false, false, false, 0},
        {"plain, painting fails", false, wide, true, true, false, 0},
        {"plain, the page is refused", false, wide, true, false, true, 1},
        {"plain, no picture", false, QImage(), true, false, false, 0},
        {"fit, no printer", true, wide, false, false, false, 0},
        {"fit, no picture", true, QImage(), true, false, false, 0},
        {"fit, no height", true, QImage(40, 0, QImage::Format_RGB32), true, false, false, 0},
        {"fit, painting fails", true, wide, true, true, false, 1},
        {"fit, the page is refused", true, wide, true, false, true, 1},
    };
    for (const auto& c : cases) {
        RecordingPrinter printer;
        printer.reachable = c.reachable;
        printer.paintFails = c.paintFails;
        printer.endFails = c.endFails;
        RecordingMessageBoxes messages;
        if (c.fit)
            mnuPrintToFitClick(printer, messages, c.picture);
        else
            mnuPrintNormalClick(printer, messages, c.picture);
        EXPECT_TRUE(printer.sent.isEmpty()) << c.what;
        EXPECT_EQ(printer.endDocCalls, c.endDocCalls) << c.what;
        ASSERT_EQ(messages.shown.size(), 1) << c.what;
        EXPECT_EQ(messages.shown[0],
            (Message{
                "An unexpected error ocurred. The printer may be out of paper or the default printer may not "
                "be available",
                MessageIcon::Information, "Failed print"}))
            << c.what;
    }
}
