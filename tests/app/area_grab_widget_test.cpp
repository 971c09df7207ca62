#include "app_fixture.h"
#include "capture/selection_overlay.h"

#include <gtest/gtest.h>

using namespace quorvex;
using namespace testsupport;

TEST(AreaGrab, TheOverlaysGrabLandsInTheMainWindow)
{
    MainWindowFixture f(coordinatePattern(1920, 1080));
    f.window.showMinimized();
    f.trigger("mnuSelectArea");
    ASSERT_TRUE(f.window.OverlayLoaded());
    EXPECT_TRUE(f.window.overlay()->isVisible());

    f.window.overlay()->GrabSelection();
    EXPECT_FALSE(f.window.isMinimized());
    EXPECT_EQ(f.view()->size(), QSize(158, 132));

    // closing the main window unloads the overlay too
    f.window.close();
    QCoreApplication::processEvents();
    EXPECT_FALSE(f.window.OverlayLoaded());
}
