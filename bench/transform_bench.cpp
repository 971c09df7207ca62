// Mirrors, quarter turns and the pixel rotation, each beside its anchors on the same picture:
// Qt's own QImage transforms and a plain memcpy of the same bytes.
#include "transform/effects.h"
#include "transform/mirror.h"
#include "transform/quarter_turn.h"

#include "bench_pictures.h"
#include <QImage>
#include <QTransform>
#include <benchmark/benchmark.h>
#include <cstring>
#include <vector>

namespace {

void setPictureCounters(benchmark::State& state, const QImage& picture)
{
    state.SetBytesProcessed(state.iterations() * picture.sizeInBytes());
    state.counters["pixels"] = double(picture.width()) * picture.height();
}

QImage pictureFor(const benchmark::State& state)
{
    return screenLikePicture(int(state.range(0)), int(state.range(1)));
}

void BM_QuarterTurnOurs(benchmark::State& state)
{
    const QImage picture = pictureFor(state);
    for (auto _ : state)
        benchmark::DoNotOptimize(quorvex::turnedClockwise(picture));
    setPictureCounters(state, picture);
}

void BM_QuarterTurnQtTransformed(benchmark::State& state)
{
    const QImage picture = pictureFor(state);
    for (auto _ : state)
        benchmark::DoNotOptimize(picture.transformed(QTransform().rotate(90)));
    setPictureCounters(state, picture);
}

void BM_MirrorHorizontalOurs(benchmark::State& state)
{
    const QImage picture = pictureFor(state);
    for (auto _ : state)
        benchmark::DoNotOptimize(quorvex::mirrored(picture, quorvex::MirrorKind::Horizontal));
    setPictureCounters(state, picture);
}

void BM_MirrorHorizontalQt(benchmark::State& state)
{
    const QImage picture = pictureFor(state);
    for (auto _ : state)
        benchmark::DoNotOptimize(picture.mirrored(true, false));
    setPictureCounters(state, picture);
}

void BM_MirrorVerticalOurs(benchmark::State& state)
{
    const QImage picture = pictureFor(state);
    for (auto _ : state)
        benchmark::DoNotOptimize(quorvex::mirrored(picture, quorvex::MirrorKind::Vertical));
    setPictureCounters(state, picture);
}

void BM_MirrorVerticalQt(benchmark::State& state)
{
    const QImage picture = pictureFor(state);
    for (auto _ : state)
        benchmark::DoNotOptimize(picture.mirrored(false, true));
    setPictureCounters(state, picture);
}

// The bare copy into a buffer that already exists and has been touched.
void BM_MemcpyIntoExistingBuffer(benchmark::State& state)
{
    const QImage picture = pictureFor(state);
    std::vector<uchar> destination(size_t(picture.sizeInBytes()), 1);
    for (auto _ : state) {
        std::memcpy(destination.data(), picture.constBits(), destination.size());
        benchmark::ClobberMemory();
    }
    setPictureCounters(state, picture);
}

// The copy plus the allocation of a fresh picture, which every transform here also pays.
void BM_MemcpyIntoNewPicture(benchmark::State& state)
{
    const QImage picture = pictureFor(state);
    for (auto _ : state) {
        QImage copy(picture.size(), picture.format());
        std::memcpy(copy.bits(), picture.constBits(), size_t(picture.sizeInBytes()));
        benchmark::DoNotOptimize(copy);
    }
    setPictureCounters(state, picture);
}

void BM_PolarRotation30Degrees(benchmark::State& state)
{
    const QImage picture = pictureFor(state);
    for (auto _ : state) {
        QImage target(picture.size(), QImage::Format_RGB32);
        target.fill(0xFFFFFFFFu);
        float angle = 30;
        benchmark::DoNotOptimize(quorvex::RotatePixels(picture, target, angle, 0xFFFFFFFFu, {}));
    }
    setPictureCounters(state, picture);
}

void pictureSizes(benchmark::internal::Benchmark* bench)
{
    bench->Args({3840, 2160})->Args({1920, 1080})->Unit(benchmark::kMillisecond);
}

} // namespace

BENCHMARK(BM_QuarterTurnOurs)->Apply(pictureSizes);
BENCHMARK(BM_QuarterTurnQtTransformed)->Apply(pictureSizes);
BENCHMARK(BM_MirrorHorizontalOurs)->Apply(pictureSizes);
BENCHMARK(BM_MirrorHorizontalQt)->Apply(pictureSizes);
BENCHMARK(BM_MirrorVerticalOurs)->Apply(pictureSizes);
BENCHMARK(BM_MirrorVerticalQt)->Apply(pictureSizes);
BENCHMARK(BM_MemcpyIntoExistingBuffer)->Apply(pictureSizes);
BENCHMARK(BM_MemcpyIntoNewPicture)->Apply(pictureSizes);
BENCHMARK(BM_PolarRotation30Degrees)->Args({1920, 1080})->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
