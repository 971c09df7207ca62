// PNG encoding of a screen-like picture, in memory, beside the ways it could be done instead:
//   encodePng (libpng, Up filter, zlib level 1)  +  the safe replace the command-line grab writes with
//   libpng at its default settings (adaptive filters, level 6) and with Paeth and zlib's RLE strategy
//   libspng with the same settings as encodePng (it needs RGB rows, so a conversion per row is included)
//   QImage::save as PNG
// The "bytes" counter is the encoded size. Files go to QDir::tempPath().
#include "output/png_encoder.h"
#include "output/safe_file_replace.h"

#include "bench_pictures.h"
#include <QBuffer>
#include <QCoreApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <csetjmp>
#include <png.h>
#include <vector>
#include <zlib.h>
#ifdef QUORVEX_BENCH_SPNG
#include <spng.h>
#endif

using namespace quorvex;

namespace {

const QSize kSizes[] = {{1920, 1080}, {3840, 2160}};

const QImage& pictureFor(const benchmark::State& state)
{
    static const QImage pictures[] = {screenLikePicture(1920, 1080), screenLikePicture(3840, 2160)};
    return pictures[state.range(0)];
}

void report(benchmark::State& state, size_t bytes, const char* note)
{
    const QSize size = kSizes[state.range(0)];
    state.counters["bytes"] = double(bytes);
    state.SetLabel(QStringLiteral("%1x%2 %3").arg(size.width()).arg(size.height()).arg(note).toStdString());
}

PixelRows rowsOf(const QImage& picture)
{
    return {picture.constBits(), picture.width(), picture.height(), picture.bytesPerLine()};
}

void BM_EncodePngAndReplace(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("shot.png");
    const QImage& picture = pictureFor(state);
    size_t bytes = 0;
    for (auto _ : state) {
        const EncodedPng png = encodePng(rowsOf(picture));
        bytes = png.bytes.size();
        if (!png.ok()
            || !replaceFileContents(
                path.toStdString(), {{reinterpret_cast<const char*>(png.bytes.data()), bytes}})
                    .ok())
            state.SkipWithError("encoding or writing failed");
    }
    report(state, bytes, "+safe replace");
}

void BM_EncodePng(benchmark::State& state)
{
    const QImage& picture = pictureFor(state);
    size_t bytes = 0;
    for (auto _ : state)
        bytes = encodePng(rowsOf(picture)).bytes.size();
    report(state, bytes, "");
}

void appendTo(png_structp png, png_bytep data, png_size_t size)
{
    auto* out = static_cast<std::vector<unsigned char>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + size);
}

// libpng with other settings; 0 bytes when it fails.
size_t libpngWith(const QImage& picture, int level, int filters, int strategy)
{
    std::vector<unsigned char> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return 0;
    }
    png_set_write_fn(png, &out, appendTo, nullptr);
    png_set_IHDR(png, info, picture.width(), picture.height(), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
        PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, level);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, filters);
    png_set_compression_strategy(png, strategy);
    png_write_info(png, info);
    png_set_bgr(png);
    png_set_filler(png, 0, PNG_FILLER_AFTER);
    for (int y = 0; y < picture.height(); ++y)
        png_write_row(png, picture.constScanLine(y));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out.size();
}

void BM_LibpngDefaults(benchmark::State& state)
{
    size_t bytes = 0;
    for (auto _ : state)
        bytes = libpngWith(pictureFor(state), Z_DEFAULT_COMPRESSION, PNG_ALL_FILTERS, Z_DEFAULT_STRATEGY);
    report(state, bytes, "all filters, level 6");
}

void BM_LibpngPaethRle(benchmark::State& state)
{
    size_t bytes = 0;
    for (auto _ : state)
        bytes = libpngWith(pictureFor(state), 1, PNG_FILTER_PAETH, Z_RLE);
    report(state, bytes, "Paeth, RLE");
}

#ifdef QUORVEX_BENCH_SPNG
void BM_LibspngSameSettings(benchmark::State& state)
{
    const QImage& picture = pictureFor(state);
    std::vector<unsigned char> row(size_t(picture.width()) * 3);
    size_t bytes = 0;
    for (auto _ : state) {
        spng_ctx* ctx = spng_ctx_new(SPNG_CTX_ENCODER);
        spng_set_option(ctx, SPNG_ENCODE_TO_BUFFER, 1);
        spng_ihdr header{};
        header.width = uint32_t(picture.width());
        header.height = uint32_t(picture.height());
        header.bit_depth = 8;
        header.color_type = SPNG_COLOR_TYPE_TRUECOLOR;
        spng_set_ihdr(ctx, &header);
        spng_set_option(ctx, SPNG_IMG_COMPRESSION_LEVEL, 1);
        spng_set_option(ctx, SPNG_FILTER_CHOICE, SPNG_FILTER_CHOICE_UP);
        int error = spng_encode_image(
            ctx, nullptr, 0, SPNG_FMT_PNG, SPNG_ENCODE_PROGRESSIVE | SPNG_ENCODE_FINALIZE);
        for (int y = 0; y < picture.height() && !error; ++y) {
            const auto* pixels = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
            for (int x = 0; x < picture.width(); ++x) {
                row[3 * x] = uchar(qRed(pixels[x]));
                row[3 * x + 1] = uchar(qGreen(pixels[x]));
                row[3 * x + 2] = uchar(qBlue(pixels[x]));
            }
            error = spng_encode_row(ctx, row.data(), row.size());
        }
        if (error && error != SPNG_EOI)
            state.SkipWithError(spng_strerror(error));
        int bufferError = 0;
        void* png = spng_get_png_buffer(ctx, &bytes, &bufferError);
        std::free(png);
        spng_ctx_free(ctx);
    }
    report(state, bytes, "Up, level 1");
}
BENCHMARK(BM_LibspngSameSettings)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
#endif

void BM_QtPngWriter(benchmark::State& state)
{
    const QImage& picture = pictureFor(state);
    size_t bytes = 0;
    for (auto _ : state) {
        QByteArray out;
        QBuffer buffer(&out);
        buffer.open(QIODevice::WriteOnly);
        if (!picture.save(&buffer, "PNG"))
            state.SkipWithError("QImage::save failed");
        bytes = size_t(out.size());
    }
    report(state, bytes, "");
}

} // namespace

BENCHMARK(BM_EncodePngAndReplace)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EncodePng)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LibpngDefaults)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LibpngPaethRle)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QtPngWriter)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
