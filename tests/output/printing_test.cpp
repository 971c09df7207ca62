#include "output/print_fit.h"
#include "output/printing.h"

#include "fakes.h"
#include "test_images.h"

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
