// The "100%" zoom of a 1080p picture against Qt's own nearest-neighbour 2x scale of the same image.
#include "app/picture_view_state.h"

#include <QImage>
#include <benchmark/benchmark.h>

namespace {

QImage screenLike(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x)
            line[x]
                = ((x / 64 + y / 32) % 3 == 0) ? qRgb(255, 255, 255) : qRgb(x & 255, y & 255, (x ^ y) & 255);
    }
    return image;
}

void BM_Zoom100_1080p(benchmark::State& state)
{
    const QImage picture = screenLike(1920, 1080);
    for (auto _ : state) {
        state.PauseTiming();
        quorvex::PictureViewState view(quorvex::Twips{});
        view.pic1.setBorder(false);
        view.pic1.setPicture(picture);
        view.keepGrab();
        state.ResumeTiming();
        benchmark::DoNotOptimize(view.ZoomByPercent(100, true));
    }
}
BENCHMARK(BM_Zoom100_1080p)->Unit(benchmark::kMillisecond);

void BM_QtScaled2xFast_1080p(benchmark::State& state)
{
    const QImage picture = screenLike(1920, 1080);
    for (auto _ : state) {
        QImage scaled = picture.scaled(3840, 2160, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        benchmark::DoNotOptimize(scaled.constBits());
    }
}
BENCHMARK(BM_QtScaled2xFast_1080p)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
