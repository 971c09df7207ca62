// PNG encoding of a screen-like picture, in memory, beside the ways it could be done instead:
//   encodePng (Up filter, ISA-L's level 1 deflate)  +  the safe replace the command-line grab writes with
//   libpng with the Up filter at zlib level 1 (the encoder before ISA-L), at its default settings
//   (adaptive filters, level 6) and with Paeth and zlib's RLE strategy
//   the deflate alone on the same Up-filtered rows: zlib level 1, libdeflate levels 1 and 2 (whole
//   buffer: it cannot stream), ISA-L levels 0 to 3 in bands of 32 rows (as encodePng feeds it)
//   libspng with the same settings as encodePng (it needs RGB rows, so a conversion per row is included)
//   QImage::save as PNG
// The "bytes" counter is the encoded size. Files go to QDir::tempPath().
#include "output/bgr_rows.h"
#include "output/png_encoder.h"
#include "output/safe_file_replace.h"

#include "bench_pictures.h"
#include <QBuffer>
#include <QCoreApplication>
#include <QTemporaryDir>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <csetjmp>
#include <isa-l/igzip_lib.h>
#include <memory>
#include <png.h>
#include <vector>
#include <zlib.h>
#ifdef QUORVEX_BENCH_SPNG
#include <spng.h>
#endif
#ifdef QUORVEX_BENCH_LIBDEFLATE
#include <libdeflate.h>
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
        const Result<std::vector<unsigned char>> png = encodePng(rowsOf(picture));
        bytes = png ? png->size() : 0;
        if (!png
            || !replaceFileContents(
                path.toStdString(), {{reinterpret_cast<const char*>(png->data()), bytes}}))
            state.SkipWithError("encoding or writing failed");
    }
    report(state, bytes, "+safe replace");
}

void BM_EncodePng(benchmark::State& state)
{
    const QImage& picture = pictureFor(state);
    size_t bytes = 0;
    for (auto _ : state)
        if (const Result<std::vector<unsigned char>> png = encodePng(rowsOf(picture)))
            bytes = png->size();
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

void BM_LibpngUpLevel1(benchmark::State& state)
{
    size_t bytes = 0;
    for (auto _ : state)
        bytes = libpngWith(pictureFor(state), 1, PNG_FILTER_UP, Z_DEFAULT_STRATEGY);
    report(state, bytes, "Up, zlib level 1");
}

// The picture's PNG image data before deflate: each row's filter type and its Up-filtered RGB.
const std::vector<unsigned char>& filteredRowsFor(const benchmark::State& state)
{
    static std::vector<unsigned char> rows[2];
    std::vector<unsigned char>& filtered = rows[state.range(0)];
    const QImage& picture = pictureFor(state);
    const size_t rowBytes = 1 + 3 * size_t(picture.width());
    if (filtered.empty()) {
        filtered.resize(rowBytes * size_t(picture.height()));
        const std::vector<uint32_t> zeros(size_t(picture.width()));
        for (int y = 0; y < picture.height(); ++y) {
            filtered[rowBytes * y] = 2;
            rgb32ToUpFilteredRgbRow(reinterpret_cast<const uint32_t*>(picture.constScanLine(y)),
                y ? reinterpret_cast<const uint32_t*>(picture.constScanLine(y - 1)) : zeros.data(),
                &filtered[rowBytes * y + 1], picture.width());
        }
    }
    return filtered;
}

void BM_FilterRows(benchmark::State& state)
{
    const QImage& picture = pictureFor(state);
    std::vector<unsigned char> row(3 * size_t(picture.width()));
    for (auto _ : state)
        for (int y = 1; y < picture.height(); ++y)
            rgb32ToUpFilteredRgbRow(reinterpret_cast<const uint32_t*>(picture.constScanLine(y)),
                reinterpret_cast<const uint32_t*>(picture.constScanLine(y - 1)), row.data(), picture.width());
    report(state, 0, "colour swap and Up filter alone");
}

void BM_ZlibDeflate(benchmark::State& state)
{
    const std::vector<unsigned char>& in = filteredRowsFor(state);
    std::vector<unsigned char> out(compressBound(uLong(in.size())));
    uLongf bytes = 0;
    for (auto _ : state) {
        bytes = uLongf(out.size());
        compress2(out.data(), &bytes, in.data(), uLong(in.size()), int(state.range(1)));
    }
    report(state, bytes, state.range(1) == 1 ? "zlib level 1" : "zlib level 6");
}

void BM_IsalDeflate(benchmark::State& state)
{
    const std::vector<unsigned char>& in = filteredRowsFor(state);
    const size_t band = (1 + 3 * size_t(pictureFor(state).width())) * 32;
    std::vector<unsigned char> out(in.size() + in.size() / 8 + 1024);
    const int level = int(state.range(1));
    const uint32_t levelBytes[] = {0, ISAL_DEF_LVL1_DEFAULT, ISAL_DEF_LVL2_DEFAULT, ISAL_DEF_LVL3_DEFAULT};
    std::vector<uint8_t> levelBuffer(levelBytes[level]);
    auto stream = std::make_unique<isal_zstream>();
    size_t bytes = 0;
    for (auto _ : state) {
        isal_deflate_init(stream.get());
        stream->level = uint32_t(level);
        stream->level_buf = levelBuffer.data();
        stream->level_buf_size = levelBytes[level];
        stream->gzip_flag = IGZIP_ZLIB;
        stream->next_out = out.data();
        stream->avail_out = uint32_t(out.size());
        for (size_t at = 0; at < in.size(); at += band) {
            stream->next_in = const_cast<unsigned char*>(in.data() + at);
            stream->avail_in = uint32_t(std::min(band, in.size() - at));
            stream->end_of_stream = at + band >= in.size();
            if (isal_deflate(stream.get()) != COMP_OK)
                state.SkipWithError("isal_deflate failed");
        }
        bytes = stream->total_out;
    }
    static const char* const labels[] = {"ISA-L level 0", "ISA-L level 1", "ISA-L level 2", "ISA-L level 3"};
    report(state, bytes, labels[level]);
}

#ifdef QUORVEX_BENCH_LIBDEFLATE
void BM_Libdeflate(benchmark::State& state)
{
    const std::vector<unsigned char>& in = filteredRowsFor(state);
    libdeflate_compressor* compressor = libdeflate_alloc_compressor(int(state.range(1)));
    std::vector<unsigned char> out(libdeflate_zlib_compress_bound(compressor, in.size()));
    size_t bytes = 0;
    for (auto _ : state)
        bytes = libdeflate_zlib_compress(compressor, in.data(), in.size(), out.data(), out.size());
    libdeflate_free_compressor(compressor);
    report(state, bytes, state.range(1) == 1 ? "libdeflate level 1" : "libdeflate level 2");
}
BENCHMARK(BM_Libdeflate)->ArgsProduct({{0, 1}, {1, 2}})->Unit(benchmark::kMillisecond);
#endif

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
BENCHMARK(BM_LibpngUpLevel1)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LibpngDefaults)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FilterRows)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ZlibDeflate)->ArgsProduct({{0, 1}, {1, 6}})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IsalDeflate)->ArgsProduct({{0, 1}, {0, 1, 2, 3}})->Unit(benchmark::kMillisecond);
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
