#include "platform/wayland/wayland_connection.h"

#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>
#include <poll.h>
#include <string>
#include <wayland-client.h>

using namespace quorvex;

namespace {

// Handles the compositor's events until `done`, or fails after the test's own limit.
bool dispatchUntil(WaylandConnection& connection, const std::function<bool()>& done)
{
    for (int waits = 0; !done(); ++waits) {
        wl_display_flush(connection.display());
        pollfd events{wl_display_get_fd(connection.display()), POLLIN, 0};
        if (waits > 600 || poll(&events, 1, 100) < 0)
            return false;
        if (events.revents && wl_display_dispatch(connection.display()) < 0)
            return false;
    }
    return true;
}

bool sway(const std::string& command)
{
    return std::system(("swaymsg -q '" + command + "'").c_str()) == 0;
}

} // namespace

// An output plugged in later is described as it comes, with its place, scale and name.
TEST(WaylandConnection, DescribesOutputsThatComeLater)
{
    Result<std::unique_ptr<WaylandConnection>> opened
        = WaylandConnection::open(std::getenv("WAYLAND_DISPLAY"));
    ASSERT_TRUE(opened) << opened.error();
    WaylandConnection& connection = **opened;
    EXPECT_TRUE(connection.offers("zwlr_screencopy_manager_v1"));
    EXPECT_FALSE(connection.offers("no_such_global"));
    ASSERT_TRUE(connection.readOutputs());
    ASSERT_EQ(connection.outputs().size(), 1u);
    EXPECT_EQ(connection.outputs()[0]->name, "HEADLESS-1");
    EXPECT_EQ(connection.outputs()[0]->place().logical, (PixelRect{0, 0, 1280, 800}));

    ASSERT_TRUE(sway("create_output"));
    ASSERT_TRUE(dispatchUntil(connection,
        [&] { return connection.outputs().size() == 2 && !connection.outputs()[1]->name.empty(); }));
    const WaylandOutput& added = *connection.outputs()[1];
    ASSERT_TRUE(sway("output " + added.name + " mode --custom 800x600 position 1280 0 scale 2"));
    ASSERT_TRUE(dispatchUntil(connection, [&] { return added.scale == 2 && added.logicalWidth == 400; }));
    EXPECT_EQ(added.place().logical, (PixelRect{1280, 0, 400, 300}));
    EXPECT_EQ(added.place().device, (PixelSize{800, 600}));
    EXPECT_EQ(connection.largestScale(), 2);
    const Result<std::vector<DesktopOutput>> described = connection.described();
    ASSERT_TRUE(described) << described.error();
    EXPECT_EQ(described->at(1).name, added.name);
    EXPECT_EQ(described->at(1).picture, (PixelRect{2560, 0, 800, 600}));
}
