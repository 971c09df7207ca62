#include "output/jpeg_encoder.h"

#include "output/byte_sink.h"

#include <algorithm>
#include <bit>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <jpeglib.h>

namespace quorvex {

namespace {

constexpr bool kLittleEndian = std::endian::native == std::endian::little;

// 4:2:0 subsampling: a minimum coded unit is 16 x 16 pixels.
constexpr int kMcuSide = 16;
// From 1080p up a second thread saves a tenth of the grab where the second core is free (bench/
// compare-peers); where another program keeps it busy, the caller may still prefer one.
constexpr long kLeastPixelsForTwoParts = 2000000;

// Where the frame header's height lies in `headers` (SOI, then marker segments); 0 when it is not
// there.
size_t heightFieldOffset(const unsigned char* headers, size_t size)
{
    for (size_t at = 2; at + 7 <= size && headers[at] == 0xff;
         at += 2 + (size_t(headers[at + 2]) << 8 | headers[at + 3]))
        if (headers[at + 1] >= 0xc0 && headers[at + 1] <= 0xc2) // SOF0 to SOF2: length, precision, height
            return at + 5;
    return 0;
}

} // namespace

NumberedError jpegWriterError(const std::string& description, int status)
{
    return NumberedError(
        kJpegWriterError, errorSource("mIntelJPEGLibrary"), description + std::to_string(status));
}

int jpegBottomPartRow(int width, int height)
{
    const int split = (height / 2 + kMcuSide - 1) / kMcuSide * kMcuSide;
    const long mcusInTop = long((width + kMcuSide - 1) / kMcuSide) * (split / kMcuSide);
    // A restart interval (16 bits) holds the top part; the bottom one is no longer.
    if (long(width) * height < kLeastPixelsForTwoParts || split >= height || mcusInTop > 65535)
        return 0;
    return split;
}

// The banded writer uses libjpeg-turbo's row-by-row interface (jpeglib.h), so that the command line
// loads libjpeg alone; saveJpegPixels (jpeg_file.cpp) uses TurboJPEG, which wants the whole picture.
struct BandedJpegWriter::Private {
    explicit Private(ByteSink& sink)
        : sink(sink)
    {
    }

    struct ErrorManager {
        jpeg_error_mgr base;
        std::jmp_buf jump;
    };

    // The encoder's state; a zeroed one is safe to destroy, so every exit of the constructor,
    // thrown or not, releases what it got this far.
    struct Compressor {
        jpeg_compress_struct info{};
        ~Compressor() { jpeg_destroy_compress(&info); }
    };

    // The encoder writes into one buffer, allocated once, which goes to the sink whenever it is
    // full: no buffer grown by doubling (each new page costs a fault) and none of the whole file.
    // Its last two bytes stay behind until the end, where the top part's end of file (FF D9) is
    // replaced by the restart marker the bottom part follows (FF D0).
    static constexpr size_t kOutputBytes = 64 * 1024;
    static constexpr size_t kHeldBack = 2;
    struct Destination {
        jpeg_destination_mgr base{};
        Private* self = nullptr;
    };

    ByteSink& sink;
    JpegPart part = JpegPart::Whole;
    int split = 0; // the bottom part's first row
    std::unique_ptr<unsigned char[]> output{new unsigned char[kOutputBytes]};
    Destination destination;
    ErrorManager errors{};
    Compressor compressor;
    jpeg_compress_struct& info = compressor.info;

    static void onError(j_common_ptr common)
    {
        // The library must not exit the process: return to the call that failed.
        std::longjmp(reinterpret_cast<ErrorManager*>(common->err)->jump, 1);
    }
    static Private& of(j_compress_ptr info) { return *reinterpret_cast<Destination*>(info->dest)->self; }
    static void startOutput(j_compress_ptr info)
    {
        Private& d = of(info);
        info->dest->next_output_byte = d.output.get();
        info->dest->free_in_buffer = kOutputBytes;
    }
    static boolean flushOutput(j_compress_ptr info)
    {
        Private& d = of(info);
        d.sink.append(d.output.get(), kOutputBytes - kHeldBack);
        std::memmove(d.output.get(), d.output.get() + kOutputBytes - kHeldBack, kHeldBack);
        info->dest->next_output_byte = d.output.get() + kHeldBack;
        info->dest->free_in_buffer = kOutputBytes - kHeldBack;
        return TRUE;
    }
    static void endOutput(j_compress_ptr info)
    {
        Private& d = of(info);
        const size_t size = kOutputBytes - info->dest->free_in_buffer;
        if (d.part != JpegPart::Top) {
            d.sink.append(d.output.get(), size);
            return;
        }
        static constexpr unsigned char kFirstRestart[] = {0xff, 0xd0};
        d.sink.append(d.output.get(), size - kHeldBack);
        d.sink.append(kFirstRestart, sizeof kFirstRestart);
    }

    // The rows this writer encodes of a picture `height` rows high.
    int rowsOf(int height) const
    {
        switch (part) {
        case JpegPart::Top:
            return split;
        case JpegPart::Bottom:
            return height - split;
        case JpegPart::Whole:
            break;
        }
        return height;
    }

    // The headers are out: the top part's frame gets the whole picture's height, the bottom part's
    // headers are dropped (the top part's serve the file).
    void adjustHeaders(int wholeHeight)
    {
        const size_t written = kOutputBytes - info.dest->free_in_buffer;
        if (part == JpegPart::Bottom) {
            startOutput(&info);
        } else if (const size_t height = heightFieldOffset(output.get(), written)) {
            output[height] = static_cast<unsigned char>(wholeHeight >> 8);
            output[height + 1] = static_cast<unsigned char>(wholeHeight);
        } else {
            throw jpegWriterError("Failed to save to JPG ", -1);
        }
    }
};

BandedJpegWriter::BandedJpegWriter(int width, int height, int quality, ByteSink& sink, JpegPart part)
    : d(std::make_unique<Private>(sink))
{
    d->part = part;
    d->split = part == JpegPart::Whole ? 0 : jpegBottomPartRow(width, height);
    if (quality < 1 || quality > 100 || (part != JpegPart::Whole && d->split == 0))
        throw jpegWriterError(("Failed to save to JPG "), -1);
    // Null where libjpeg could not be loaded (the command line loads it on demand).
    d->info.err = jpeg_std_error(&d->errors.base);
    if (!d->info.err)
        throw jpegWriterError(("Failed to initialise the IJL library: "), -1);
    d->errors.base.error_exit = &Private::onError;
    if (setjmp(d->errors.jump))
        throw jpegWriterError(("Failed to initialise the IJL library: "), -1);
    jpeg_create_compress(&d->info);
    d->destination.self = d.get();
    d->destination.base.init_destination = &Private::startOutput;
    d->destination.base.empty_output_buffer = &Private::flushOutput;
    d->destination.base.term_destination = &Private::endOutput;
    d->info.dest = &d->destination.base;
    d->info.image_width = JDIMENSION(width);
    d->info.image_height = JDIMENSION(d->rowsOf(height));
    d->info.input_components = 4;
    d->info.in_color_space = kLittleEndian ? JCS_EXT_BGRX : JCS_EXT_XRGB;
    if (setjmp(d->errors.jump))
        throw jpegWriterError(("Failed to save to JPG "), -1);
    jpeg_set_defaults(&d->info);
    jpeg_set_quality(&d->info, quality, TRUE);
    if (part == JpegPart::Top)
        d->info.restart_interval = unsigned((width + kMcuSide - 1) / kMcuSide * (d->split / kMcuSide));
    jpeg_start_compress(&d->info, TRUE);
    if (part != JpegPart::Whole) {
        // No rows yet: the library writes its frame and scan headers, which a part adjusts.
        JSAMPROW none[1] = {nullptr};
        jpeg_write_scanlines(&d->info, none, 0);
        d->adjustHeaders(height);
    }
}

BandedJpegWriter::~BandedJpegWriter() = default;

void BandedJpegWriter::addRows(const unsigned char* rows, int count, std::ptrdiff_t stride)
{
    constexpr int kRowsAtOnce = 64;
    JSAMPROW pointers[kRowsAtOnce];
    if (setjmp(d->errors.jump))
        throw jpegWriterError(("Failed to save to JPG "), -1);
    for (int done = 0; done < count;) {
        const int now = std::min(kRowsAtOnce, count - done);
        for (int i = 0; i < now; ++i)
            pointers[i] = const_cast<unsigned char*>(rows + (done + i) * stride);
        jpeg_write_scanlines(&d->info, pointers, JDIMENSION(now));
        done += now;
    }
}

void BandedJpegWriter::finish()
{
    if (setjmp(d->errors.jump))
        throw jpegWriterError(("Failed to save to JPG "), -1);
    jpeg_finish_compress(&d->info);
}

} // namespace quorvex
