// Grabbing the screen: our grab primitive against a direct xcb_get_image of the same rectangle.
// Needs an X display of at least 1920 x 1080 (bench/run_benchmarks.sh starts a private Xvfb).
#include "capture/grab_window_rect.h"
#include "capture/qt_screen_source.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <xcb/xcb.h>

namespace {

void BM_GrabWindowRect_1080p(benchmark::State& state)
{
    quorvex::QtScreenSource screen;
    for (auto _ : state) {
        QImage picture = quorvex::GrabWindowRect(screen, 0, false, 0, 0, 1920, 1080);
        benchmark::DoNotOptimize(picture.constBits());
    }
}
BENCHMARK(BM_GrabWindowRect_1080p)->Unit(benchmark::kMillisecond);

void BM_XcbGetImage_1080p(benchmark::State& state)
{
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* c = x11->connection();
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    for (auto _ : state) {
        xcb_get_image_reply_t* reply = xcb_get_image_reply(
            c, xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, root, 0, 0, 1920, 1080, ~0u), nullptr);
        benchmark::DoNotOptimize(reply);
        std::free(reply);
    }
}
BENCHMARK(BM_XcbGetImage_1080p)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
