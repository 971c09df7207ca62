#include "output/png_encoder.h"

#include <bit>
#include <csetjmp>
#include <new>
#include <png.h>
#include <zlib.h>

namespace quorvex {

namespace {

// Chosen by measurement (bench/png_bench.cpp, bench/compare-peers): the Up filter at zlib level 1
// is the fastest of the settings tried, 3-4 x faster than libpng's defaults (adaptive filters,
// level 6). Its files are about 15 % larger than scrot's on photo-like content and 2.5 x larger
// than the defaults' on flat panels, where they stay small anyway (under 50 kB at 1080p).
constexpr int kZlibLevel = 1;
constexpr int kRowFilter = PNG_FILTER_UP;

} // namespace

struct PngEncoder::Private {
    png_structp png = nullptr;
    png_infop info = nullptr;
    std::vector<unsigned char> output;
    std::string error;
    int height = 0;
    int rowsDone = 0;

    static void onError(png_structp png, png_const_charp message)
    {
        auto* self = static_cast<Private*>(png_get_error_ptr(png));
        if (self->error.empty())
            self->error = message;
        png_longjmp(png, 1);
    }
    static void onWarning(png_structp, png_const_charp) { }
    static void onWrite(png_structp png, png_bytep data, png_size_t size)
    {
        auto* self = static_cast<Private*>(png_get_io_ptr(png));
        bool grown = true;
        try {
            self->output.insert(self->output.end(), data, data + size);
        } catch (const std::bad_alloc&) {
            grown = false;
        }
        if (!grown)
            png_error(png, "not enough memory for the PNG file");
    }
    static void onFlush(png_structp) { }

    void writeEnd()
    {
        if (setjmp(png_jmpbuf(png)))
            return;
        png_write_end(png, nullptr);
    }

    void fail(const char* message)
    {
        if (error.empty())
            error = message;
    }
};

PngEncoder::PngEncoder(int width, int height)
    : d(std::make_unique<Private>())
{
    d->height = height;
    if (width < 1 || height < 1) {
        d->fail("the picture is empty");
        return;
    }
    d->png = png_create_write_struct(PNG_LIBPNG_VER_STRING, d.get(), &Private::onError, &Private::onWarning);
    if (d->png)
        d->info = png_create_info_struct(d->png);
    if (!d->info) {
        d->fail("not enough memory for the PNG encoder");
        return;
    }
    if (setjmp(png_jmpbuf(d->png)))
        return;
    png_set_write_fn(d->png, d.get(), &Private::onWrite, &Private::onFlush);
    png_set_IHDR(d->png, d->info, png_uint_32(width), png_uint_32(height), 8, PNG_COLOR_TYPE_RGB,
        PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(d->png, kZlibLevel);
    png_set_filter(d->png, PNG_FILTER_TYPE_BASE, kRowFilter);
    png_write_info(d->png, d->info);
    // The encoder reads the rows as they lie: it swaps to RGB and skips the unused byte itself.
    const bool littleEndian = std::endian::native == std::endian::little;
    if (littleEndian)
        png_set_bgr(d->png);
    png_set_filler(d->png, 0, littleEndian ? PNG_FILLER_AFTER : PNG_FILLER_BEFORE);
}

PngEncoder::~PngEncoder()
{
    if (d->png)
        png_destroy_write_struct(&d->png, d->info ? &d->info : nullptr);
}

void PngEncoder::addRows(const unsigned char* rows, int count, std::ptrdiff_t stride)
{
    if (!d->error.empty())
        return;
    if (count < 0 || count > d->height - d->rowsDone) {
        d->fail("more rows than the picture has");
        return;
    }
    if (setjmp(png_jmpbuf(d->png)))
        return;
    for (int i = 0; i < count; ++i)
        png_write_row(d->png, rows + i * stride);
    d->rowsDone += count;
}

EncodedPng PngEncoder::finish()
{
    if (d->error.empty() && d->rowsDone != d->height)
        d->fail("the picture's rows are incomplete");
    if (d->error.empty())
        d->writeEnd();
    if (!d->error.empty())
        return {{}, d->error};
    return {std::move(d->output), {}};
}

EncodedPng encodePng(const PixelRows& picture)
{
    PngEncoder encoder(picture.width, picture.height);
    if (picture.top)
        encoder.addRows(picture.top, picture.height, picture.stride);
    return encoder.finish();
}

} // namespace quorvex
