#include "platform/wayland/layer_surfaces.h"

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace quorvex;

namespace {

bool writable(int fd)
{
    pollfd socket{fd, POLLOUT, 0};
    return poll(&socket, 1, 0) == 1;
}

pid_t compositorOf(int fd)
{
    ucred peer{};
    socklen_t length = sizeof peer;
    return getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &length) == 0 ? peer.pid : -1;
}

} // namespace

// The hatched frame's input region is thousands of rectangles. Sent while the compositor reads
// nothing (as under load), it fills the socket: the connection must wait, not break.
TEST(LayerSurfaces, ARegionLargerThanTheSocketArrivesWhileTheCompositorIsStopped)
{
    Result<std::unique_ptr<LayerSurfaces>> opened = LayerSurfaces::connect(std::getenv("WAYLAND_DISPLAY"));
    ASSERT_TRUE(opened) << opened.error();
    LayerSurfaces& surfaces = **opened;
    const int fd = surfaces.fd();
    ucred compositor{};
    socklen_t length = sizeof compositor;
    ASSERT_EQ(getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &compositor, &length), 0);
    int buffer = 0;
    length = sizeof buffer;
    ASSERT_EQ(getsockopt(fd, SOL_SOCKET, SO_SNDBUF, &buffer, &length), 0);

    // One-pixel rectangles on every other column and row: 24 bytes each, twice the socket's buffer.
    std::vector<QRect> rects;
    for (int y = 0; int(rects.size()) * 24 < 2 * buffer; y += 2)
        for (int x = 0; x < 1000; x += 2)
            rects.emplace_back(x, y, 1, 1);
    QRegion hatch;
    hatch.setRects(rects.data(), int(rects.size()));
    QImage picture(1000, rects.back().bottom() + 1, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    surfaces.present(picture, {0, 0}, {}); // the surfaces are made while the compositor runs

    ASSERT_EQ(kill(compositor.pid, SIGSTOP), 0);
    std::atomic<bool> sent = false;
    std::thread resume([&] {
        while (!sent && writable(fd))
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        kill(compositor.pid, SIGCONT);
    });
    surfaces.present(picture, {0, 0}, hatch);
    sent = true;
    resume.join();
    surfaces.roundtrip();
    surfaces.dispatch();
    EXPECT_FALSE(surfaces.failed()) << "the connection broke";
}

// A connection that breaks with events queued behind the compositor's error (a buffer's release,
// read with it) is reported as broken, not read from for ever.
TEST(LayerSurfaces, ABrokenConnectionWithEventsQueuedIsReportedBroken)
{
    Result<std::unique_ptr<LayerSurfaces>> opened = LayerSurfaces::connect(std::getenv("WAYLAND_DISPLAY"));
    ASSERT_TRUE(opened) << opened.error();
    LayerSurfaces& surfaces = **opened;
    const pid_t compositor = compositorOf(surfaces.fd());
    ASSERT_GT(compositor, 0);
    QImage picture(64, 64, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::red);
    surfaces.present(picture, {0, 0}, {});
    surfaces.roundtrip();

    // While the compositor is stopped: a second buffer, sent as a third one's region starts, then a
    // request to an object that does not exist. It reads both at once and answers both at once.
    ASSERT_EQ(kill(compositor, SIGSTOP), 0);
    surfaces.present(picture, {0, 0}, {});
    surfaces.present(picture, {0, 0}, QRegion(0, 0, 1, 1));
    const uint32_t request[2] = {0xdeadbeef, 8u << 16};
    const bool written = write(surfaces.fd(), request, sizeof request) == ssize_t(sizeof request);
    kill(compositor, SIGCONT);
    ASSERT_TRUE(written);

    // Read once it has hung up, the error comes with the events before it, which stay queued.
    pollfd hangup{surfaces.fd(), 0, 0};
    ASSERT_EQ(poll(&hangup, 1, 20000), 1);
    ASSERT_TRUE(hangup.revents & POLLHUP);
    alarm(20); // a dispatch that never returns ends the test
    surfaces.dispatch();
    surfaces.dispatch(); // as a notifier not yet stopped would call it again
    EXPECT_TRUE(surfaces.failed());
    alarm(0);
}
