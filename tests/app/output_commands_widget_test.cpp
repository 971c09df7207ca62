#include "app_fixture.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace quorvex;
using namespace testsupport;

namespace {

struct OutputFixture : MainWindowFixture {
    OutputFixture()
        : MainWindowFixture(asymmetricPattern(60, 20))
    {
        window.GrabWholeScreen();
    }
    QImage shown() { return state().view().surface(); }
    QTemporaryDir dir;
};

} // namespace

TEST(OutputCommands, SaveAsWritesWhatTheViewShows)
{
    OutputFixture f;
    f.trigger("mnuZoom100"); // what is saved is the view as shown
    f.saveDialog.path = f.dir.filePath("shot.bmp");
    f.trigger("mnuSaveAs");
    ASSERT_EQ(f.saveDialog.requests.size(), 1);
    EXPECT_EQ(f.saveDialog.requests[0].defaultSuffix, "JPG");
    EXPECT_EQ(differenceBetween(QImage(f.dir.filePath("shot.bmp")), f.shown()), QString());
    EXPECT_TRUE(f.messages.shown.empty());
}

TEST(OutputCommands, PrintToFitTurnsTheOrientationForLaterPlainPrints)
{
    OutputFixture f; // 60 x 20 inside a 2-px edge: wide
    f.trigger("mnuPrintToFit");
    ASSERT_EQ(f.printer.sent.size(), 1);
    EXPECT_EQ(f.printer.sent[0].orientation, PageOrientation::Landscape);
    EXPECT_EQ(f.printer.sent[0].picture, QSize(60, 20));
    f.trigger("mnuPrintNormal");
    ASSERT_EQ(f.printer.sent.size(), 2);
    EXPECT_EQ(f.printer.sent[1].orientation, PageOrientation::Landscape);
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
