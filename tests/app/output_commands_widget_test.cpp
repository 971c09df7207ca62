#include "app/picture_output.h"
#include "app/picture_view_state.h"
#include "app_fixture.h"
#include "common/device_pixels.h"
#include "output/print_fit.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace quorvex;
using namespace testsupport;

// The file and print entries take the view as shown, inside its edge; that a page fit's orientation
// stays for later plain prints is the printing test's.
TEST(OutputCommands, SaveAsAndPrintToFitTakeWhatTheViewShows)
{
    MainWindowFixture f(asymmetricPattern(60, 20));
    f.window.GrabWholeScreen();
    f.trigger("mnuZoom100");
    QTemporaryDir dir;
    f.saveDialog.path = dir.filePath("shot.bmp");
    f.trigger("mnuSaveAs");
    ASSERT_EQ(f.saveDialog.requests.size(), 1);
    EXPECT_EQ(f.saveDialog.requests[0].defaultSuffix, "JPG");
    EXPECT_EQ(differenceBetween(QImage(dir.filePath("shot.bmp")), f.state().view().surface()), QString());
    f.trigger("mnuPrintToFit");
    ASSERT_EQ(f.printer.sent.size(), 1);
    EXPECT_EQ(f.printer.sent[0].orientation, PageOrientation::Landscape);
    EXPECT_EQ(f.printer.sent[0].picture, QSize(116, 36)); // 120 x 40 less the 4 px the edge takes
    EXPECT_TRUE(f.messages.shown.empty());
}

TEST(OutputCommands, WithoutAPictureOutputsSaySoAndTransformsDoNothing)
{
    MainWindowFixture f;
    for (const char* name : {"mnuSaveAs", "mnuPrintNormal", "mnuPrintToFit", "mnuClip", "mnuFlipHorizontal",
             "mnuFlipVertical", "mnuRotate90", "mnuRotate180", "mnuRotate270"})
        f.trigger(name);
    EXPECT_TRUE(f.saveDialog.requests.isEmpty());
    EXPECT_TRUE(f.printer.open.isEmpty() && f.printer.sent.isEmpty());
    EXPECT_FALSE(f.state().heldCopy().hasPicture());
    EXPECT_EQ(f.messages.shown.size(), 4);
}

// At its own size a picture prints at the screen's resolution: an inch of screen is an inch of paper
// whether the screen has 96 or, at 200 %, 192 device pixels to the inch.
TEST(OutputCommands, PrintAtOwnSizeKeepsThePhysicalSizeOnScaledScreens)
{
    for (const double ratio : {1.0, 1.5, 2.0}) {
        const Twips twips = Twips{}.perDevicePixel(ratio);
        const QSize pixels(toDeviceLength(96, ratio), toDeviceLength(48, ratio));
        PictureViewState state(twips);
        state.placeForWholeScreen({twips.fromPixelsX(pixels.width()), twips.fromPixelsY(pixels.height())});
        state.keepWholeScreenGrab(asymmetricPattern(pixels.width(), pixels.height()));
        RecordingMessageBoxes messages;
        ChosenPathDialog dialog;
        RecordingPrinter printer;
        PictureOutput(state, messages, dialog, printer, *QGuiApplication::clipboard()).printNormal();
        ASSERT_EQ(printer.sent.size(), 1) << ratio;
        EXPECT_EQ(printer.sent[0].size, (PrintSize{2540, 1270})) << ratio; // 1 x 0.5 inch
        EXPECT_EQ(printer.sent[0].picture, pixels) << ratio;
    }
}
