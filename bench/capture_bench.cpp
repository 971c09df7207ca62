// Grabbing the screen, each way beside its anchor: our single grab against a direct xcb_get_image,
// our repeated (overlay) grab against a direct MIT-SHM read into a reused segment, and Qt's own
// screen grab for reference. Needs an X display (bench/run_benchmarks.sh starts a private Xvfb);
// the size follows the display: run it on a 1920x1080 and a 3840x2160 screen.
#include "capture/qt_screen_source.h"
#include "capture/window_grab.h"
#include "platform/x11/qt_x11_connection.h"
#include "platform/x11/xcb_screen_source.h"

#include <QGuiApplication>
#include <QScreen>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <sys/ipc.h>
#include <sys/shm.h>
#include <xcb/shm.h>
#include <xcb/xcb.h>

namespace {

xcb_connection_t* connection()
{
    return quorvex::qtX11Connection();
}

xcb_window_t root()
{
    return xcb_setup_roots_iterator(xcb_get_setup(connection())).data->root;
}

QSize screen()
{
    return QGuiApplication::primaryScreen()->geometry().size();
}

void grabWith(benchmark::State& state, quorvex::ScreenSource& source)
{
    const QSize size = screen();
    for (auto _ : state) {
        QImage picture = quorvex::grabDesktopRect(source, QRect(QPoint(), size)).value();
        benchmark::DoNotOptimize(picture.constBits());
    }
    state.SetLabel(QStringLiteral("%1x%2").arg(size.width()).arg(size.height()).toStdString());
}

void BM_SingleGrab(benchmark::State& state)
{
    quorvex::XcbScreenSource source(connection(), false);
    grabWith(state, source);
}
BENCHMARK(BM_SingleGrab)->Unit(benchmark::kMillisecond);

void BM_Anchor_XcbGetImage(benchmark::State& state)
{
    const QSize size = screen();
    for (auto _ : state) {
        xcb_get_image_reply_t* reply = xcb_get_image_reply(connection(),
            xcb_get_image(
                connection(), XCB_IMAGE_FORMAT_Z_PIXMAP, root(), 0, 0, size.width(), size.height(), ~0u),
            nullptr);
        benchmark::DoNotOptimize(xcb_get_image_data(reply));
        std::free(reply);
    }
}
BENCHMARK(BM_Anchor_XcbGetImage)->Unit(benchmark::kMillisecond);

void BM_RepeatedGrabShm(benchmark::State& state)
{
    quorvex::XcbScreenSource source(connection(), true);
    grabWith(state, source);
}
BENCHMARK(BM_RepeatedGrabShm)->Unit(benchmark::kMillisecond);

void BM_Anchor_ShmGetImageReused(benchmark::State& state)
{
    const QSize size = screen();
    xcb_connection_t* c = connection();
    const int id = shmget(IPC_PRIVATE, size_t(size.width()) * size.height() * 4, IPC_CREAT | 0600);
    void* data = shmat(id, nullptr, 0);
    const xcb_shm_seg_t segment = xcb_generate_id(c);
    xcb_shm_attach(c, segment, id, 0);
    shmctl(id, IPC_RMID, nullptr);
    for (auto _ : state) {
        std::free(xcb_shm_get_image_reply(c,
            xcb_shm_get_image(
                c, root(), 0, 0, size.width(), size.height(), ~0u, XCB_IMAGE_FORMAT_Z_PIXMAP, segment, 0),
            nullptr));
        benchmark::DoNotOptimize(data);
    }
    xcb_shm_detach(c, segment);
    shmdt(data);
}
BENCHMARK(BM_Anchor_ShmGetImageReused)->Unit(benchmark::kMillisecond);

void BM_Reference_QtGrab(benchmark::State& state)
{
    quorvex::QtScreenSource source;
    grabWith(state, source);
}
BENCHMARK(BM_Reference_QtGrab)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
