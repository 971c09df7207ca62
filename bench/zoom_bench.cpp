// The "100%" zoom of a 1080p picture against Qt's own nearest-neighbour 2x scale of the same image.
#include "app/picture_view_state.h"

#include "bench_pictures.h"
#include <QImage>
#include <benchmark/benchmark.h>

namespace {

void BM_Zoom100_1080p(benchmark::State& state)
{
    const QImage picture = screenLikePicture(1920, 1080);
    for (auto _ : state) {
        state.PauseTiming();
        quorvex::PictureViewState view(quorvex::Twips{});
        view.acceptSelectionGrab(picture, {1920 * 15, 1080 * 15, 1922 * 15, 1082 * 15, 1920, 1080});
        state.ResumeTiming();
        benchmark::DoNotOptimize(view.ZoomByPercent(100, true));
    }
}
BENCHMARK(BM_Zoom100_1080p)->Unit(benchmark::kMillisecond);

void BM_QtScaled2xFast_1080p(benchmark::State& state)
{
    const QImage picture = screenLikePicture(1920, 1080);
    for (auto _ : state) {
        QImage scaled = picture.scaled(3840, 2160, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        benchmark::DoNotOptimize(scaled.constBits());
    }
}
BENCHMARK(BM_QtScaled2xFast_1080p)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
