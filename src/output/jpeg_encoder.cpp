#include "output/jpeg_encoder.h"

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
    // The output buffer the library allocates and grows; it stays ours, even after its destruction.
    struct OutputBuffer {
        unsigned char* bytes = nullptr;
        unsigned long size = 0;
        ~OutputBuffer() { std::free(bytes); }
    };

    ErrorManager errors{};
    OutputBuffer output; // declared before the compressor: freed after it
    Compressor compressor;
    jpeg_compress_struct& info = compressor.info;

    static void onError(j_common_ptr common)
    {
        // The library must not exit the process: return to the call that failed.
        std::longjmp(reinterpret_cast<ErrorManager*>(common->err)->jump, 1);
    }
};

BandedJpegWriter::BandedJpegWriter(int width, int height, int quality)
    : d(std::make_unique<Private>())
{
    if (quality < 1 || quality > 100)
        throw jpegWriterError(("Failed to save to JPG "), -1);
    d->info.err = jpeg_std_error(&d->errors.base);
    d->errors.base.error_exit = &Private::onError;
    if (setjmp(d->errors.jump))
        throw jpegWriterError(("Failed to initialise the IJL library: "), -1);
    jpeg_create_compress(&d->info);
    jpeg_mem_dest(&d->info, &d->output.bytes, &d->output.size);
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

std::string_view BandedJpegWriter::finishInMemory()
{
    if (setjmp(d->errors.jump))
        throw jpegWriterError(("Failed to save to JPG "), -1);
    jpeg_finish_compress(&d->info);
    return std::string_view(reinterpret_cast<const char*>(d->output.bytes), d->output.size);
}

} // namespace quorvex
