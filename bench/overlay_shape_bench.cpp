#include "capture/overlay_shape.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>

// The overlay recomputes its window shape on every resize step while the user drags its frame.
static void BM_OverlayShape(benchmark::State& state)
{
    const QSize s1(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    const QSize window = s1 + QSize(26, 32);
    const QRect clientArea(4, 4, window.width() - 8, window.height() - 8);
    const QRect label2(0, 0, window.width(), 10);
    const QRect xButton(window.width() - 34, -3, 27, 18);
    qsizetype rects = 0;
    for (auto _ : state) {
        const QImage look = quorvex::selectionFrameImage(s1, true);
        const QRegion shape = quorvex::overlayShape(
            window, clientArea, {label2, xButton}, {8, 16, s1.width(), s1.height()}, look);
        rects = shape.rectCount();
        benchmark::DoNotOptimize(rects);
    }
    state.counters["rects"] = static_cast<double>(rects);
}
BENCHMARK(BM_OverlayShape)
    ->Args({160, 134})
    ->Args({800, 600})
    ->Args({1894, 1048})
    ->Unit(benchmark::kMillisecond);

// Painting uses Qt's fast pixel paths only once a QGuiApplication has set them up, as the program has.
int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
