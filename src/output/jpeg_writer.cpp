#include "output/jpeg_writer.h"

#include "output/safe_file_replace.h"

#include <memory>
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

NumberedError jpegWriterError(const QString& description, int status)
{
    return NumberedError(kJpegWriterError, errorSource(QStringLiteral("mIntelJPEGLibrary")),
        description + QString::number(status));
}

} // namespace

bool WriteJpegFile(const cDIBSection& section, const QString& path, int quality)
{
    const Encoder encoder(tjInitCompress());
    if (!encoder)
        throw jpegWriterError(QStringLiteral("Failed to initialise the IJL library: "), -1);

    unsigned char* output = nullptr;
    unsigned long outputSize = 0;
    const int status
        = tjCompress2(encoder.get(), section.DIBSectionBitsPtr(), section.Width(), section.BytesPerScanLine(),
            section.Height(), TJPF_BGR, &output, &outputSize, TJSAMP_420, quality, TJFLAG_BOTTOMUP);
    const JpegBuffer jpeg(output);
    if (status != 0)
        throw jpegWriterError(QStringLiteral("Failed to save to JPG "), status);

    const FileWriteResult written
        = replaceFileContents(path, {QByteArrayView(jpeg.get(), qsizetype(outputSize))});
    if (!written.ok())
        throw jpegWriterError(QStringLiteral("Failed to save to JPG "), written.error);
    return true;
}

} // namespace quorvex
