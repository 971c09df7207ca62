#include "output/jpeg_encoder.h"

#include "output/byte_sink.h"
#include "output/safe_file_replace.h"

#include <algorithm>
#include <bit>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <turbojpeg.h>

#include <jpeglib.h>

namespace quorvex {

namespace {

struct EncoderDeleter {
    void operator()(void* handle) const { tjDestroy(handle); }
};
using Encoder = std::unique_ptr<void, EncoderDeleter>;

struct JpegBufferDeleter {
    void operator()(unsigned char* buffer) const { tjFree(buffer); }
};
using JpegBuffer = std::unique_ptr<unsigned char, JpegBufferDeleter>;

NumberedError jpegWriterError(const std::string& description, int status)
{
    return NumberedError(
        kJpegWriterError, errorSource("mIntelJPEGLibrary"), description + std::to_string(status));
}

constexpr bool kLittleEndian = std::endian::native == std::endian::little;

} // namespace

void writeJpegFile(
    const unsigned char* pixels, int width, int height, int stride, const std::string& path, int quality)
{
    const Encoder encoder(tjInitCompress());
    if (!encoder)
        throw jpegWriterError("Failed to initialise the IJL library: ", -1);

    unsigned char* output = nullptr;
    unsigned long outputSize = 0;
    const int status = tjCompress2(encoder.get(), pixels, width, stride, height, TJPF_BGR, &output,
        &outputSize, TJSAMP_420, quality, TJFLAG_BOTTOMUP);
    const JpegBuffer jpeg(output);
    if (status != 0)
        throw jpegWriterError("Failed to save to JPG ", status);

    const FileWriteResult written = replaceFileContents(
        path, {std::string_view(reinterpret_cast<const char*>(jpeg.get()), outputSize)});
    if (!written.ok())
        throw jpegWriterError("Failed to save to JPG ", written.error);
}

// The banded writer uses libjpeg-turbo's row-by-row interface; TurboJPEG wants the whole picture.
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
    static constexpr size_t kOutputBytes = 64 * 1024;
    struct Destination {
        jpeg_destination_mgr base{};
        Private* self = nullptr;
    };

    ByteSink& sink;
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
        d.sink.append(d.output.get(), kOutputBytes);
        startOutput(info);
        return TRUE;
    }
    static void endOutput(j_compress_ptr info)
    {
        Private& d = of(info);
        d.sink.append(d.output.get(), kOutputBytes - info->dest->free_in_buffer);
    }
};

BandedJpegWriter::BandedJpegWriter(int width, int height, int quality, ByteSink& sink)
    : d(std::make_unique<Private>(sink))
{
    if (quality < 1 || quality > 100)
        throw jpegWriterError(("Failed to save to JPG "), -1);
    d->info.err = jpeg_std_error(&d->errors.base);
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
    d->info.image_height = JDIMENSION(height);
    d->info.input_components = 4;
    d->info.in_color_space = kLittleEndian ? JCS_EXT_BGRX : JCS_EXT_XRGB;
    if (setjmp(d->errors.jump))
        throw jpegWriterError(("Failed to save to JPG "), -1);
    jpeg_set_defaults(&d->info);
    jpeg_set_quality(&d->info, quality, TRUE);
    jpeg_start_compress(&d->info, TRUE);
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
