#pragma once

#include "output/dib_section.h"
#include "output/numbered_error.h"

#include <QByteArrayView>
#include <QImage>
#include <QString>
#include <memory>

namespace quorvex {

inline constexpr int kJpegWriterError = 26001;

// Encodes the section's pixels in place (no copy; 4:2:0 subsampling) at `quality` (1 to 100) and
// safely replaces the file at `path` with the result, which keeps a replaced file's times and
// permission bits. Returns true when the file is written. Otherwise throws NumberedError with
// number kJpegWriterError, source "<executable>.mIntelJPEGLibrary" and the description
//   "Failed to initialise the IJL library: -1"  when no encoder could be made,
//   "Failed to save to JPG -1"                 when encoding fails (bad quality, empty section),
//   "Failed to save to JPG <errno>"            when writing the file fails (e.g. 27 for EFBIG).
bool WriteJpegFile(const cDIBSection& section, const QString& path, int quality);

// The same for a picture as it is held (32-bit, top-down rows), encoded where it lies: the path of
// a grab that goes straight to a file.
bool WriteJpegFile(const QImage& picture, const QString& path, int quality);

// Encodes a picture that arrives as bands of 32-bit rows (0xAARRGGBB words), top to bottom, so that
// no buffer of the whole picture is ever needed: a grab read from the screen in strips goes to the
// file while the next strip is on its way. The file at `path` is replaced safely at finish().
// Failures throw the same NumberedError as WriteJpegFile.
class BandedJpegWriter {
public:
    BandedJpegWriter(int width, int height, int quality);
    ~BandedJpegWriter();
    BandedJpegWriter(const BandedJpegWriter&) = delete;
    BandedJpegWriter& operator=(const BandedJpegWriter&) = delete;

    void addRows(const uchar* rows, int count, qsizetype bytesPerLine);
    // Ends the picture: its JPEG file's bytes, which the writer holds until it is destroyed.
    QByteArrayView finishInMemory();
    // Ends the picture and replaces the file at `path` with it.
    void finish(const QString& path);

private:
    struct Private;
    std::unique_ptr<Private> d;
};

} // namespace quorvex
