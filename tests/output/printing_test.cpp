#include "output/printing.h"

#include "fakes.h"
#include "test_images.h"

#include <gtest/gtest.h>

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
