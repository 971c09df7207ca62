// Repeated grabs through screen copy's kept connection and shared memory: the whole desktop and an
// area of it (the overlay's grab), each in wall-clock time, since the wait is the compositor's next
// frame. Needs a wlroots desktop (bench/compare-peers starts a private headless sway); its output's
// frame interval is the mark to compare with.
#include "platform/wayland/screencopy_reader.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <memory>

namespace {

std::unique_ptr<quorvex::ScreencopyReader> openReader(benchmark::State& state)
{
    const char* display = std::getenv("WAYLAND_DISPLAY");
    auto opened = quorvex::ScreencopyReader::connect(display ? display : "");
    if (!opened) {
        state.SkipWithError(opened.error().c_str());
        return nullptr;
    }
    return std::move(opened).value();
}

void grabRepeatedly(
    benchmark::State& state, quorvex::ScreencopyReader& reader, const quorvex::PixelRect& rect)
{
    for (auto _ : state) {
        const quorvex::ScreenPixels pixels = reader.readDesktop(rect);
        if (pixels.isEmpty()) {
            state.SkipWithError("a grab failed");
            break;
        }
        benchmark::DoNotOptimize(pixels.bits);
    }
    state.SetLabel(std::to_string(rect.width) + "x" + std::to_string(rect.height));
}

void BM_RepeatedWholeGrab(benchmark::State& state)
{
    auto reader = openReader(state);
    if (!reader)
        return;
    const quorvex::PixelSize size = reader->desktopSize();
    grabRepeatedly(state, *reader, {0, 0, size.width, size.height});
}
BENCHMARK(BM_RepeatedWholeGrab)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_RepeatedAreaGrab(benchmark::State& state)
{
    auto reader = openReader(state);
    if (!reader)
        return;
    const quorvex::PixelSize size = reader->desktopSize();
    grabRepeatedly(state, *reader, {size.width / 4, size.height / 4, size.width / 2, size.height / 2});
}
BENCHMARK(BM_RepeatedAreaGrab)->Unit(benchmark::kMillisecond)->UseRealTime();

// One pixel: what the compositor's wait for its next frame costs alone.
void BM_RepeatedPixelGrab(benchmark::State& state)
{
    auto reader = openReader(state);
    if (!reader)
        return;
    grabRepeatedly(state, *reader, {0, 0, 1, 1});
}
BENCHMARK(BM_RepeatedPixelGrab)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
