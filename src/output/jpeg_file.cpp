// saveJpegPixels, through TurboJPEG, in a file of its own: the command line never writes a whole DIB,
// so it loads no libturbojpeg (a shared library costs its loading on every run).
#include "output/jpeg_encoder.h"

#include "output/safe_file_replace.h"

#include <cerrno>

#include <turbojpeg.h>

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

} // namespace

void saveJpegPixels(
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

    if (!replaceFileContents(
            path, {std::string_view(reinterpret_cast<const char*>(jpeg.get()), outputSize)})) {
        const int error = errno; // the failed step's
        throw jpegWriterError("Failed to save to JPG ", error);
    }
}

} // namespace quorvex
