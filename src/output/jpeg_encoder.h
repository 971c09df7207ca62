#pragma once

#include "output/numbered_error.h"

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

// JPEG files over plain pixel buffers, through libjpeg-turbo: no Qt type here, so the command-line
// grab uses it without any Qt library and the window program's writers wrap it.
namespace quorvex {

class ByteSink;

inline constexpr int kJpegWriterError = 26001;
// The quality Save As writes, and the command line's default.
inline constexpr int kJpegSaveQuality = 90;

// The error saveJpegPixels and BandedJpegWriter throw: kJpegWriterError, "<program>.mIntelJPEGLibrary",
// `description` followed by `status`.
NumberedError jpegWriterError(const std::string& description, int status);

// Encodes `height` rows of `width` blue, green, red pixels, `stride` bytes apart and the last row
// first (a DIB section's), where they lie (no copy; 4:2:0 subsampling) at `quality` (1 to 100), and
// safely replaces the file at `path` (a file name in the system's encoding) with the result, which
// keeps a replaced file's times and permission bits.
// Throws NumberedError with number kJpegWriterError, source "<program>.mIntelJPEGLibrary" and the
// description
//   "Failed to initialise the IJL library: -1"  when no encoder could be made,
//   "Failed to save to JPG -1"                 when encoding fails (bad quality, no pixels),
//   "Failed to save to JPG <errno>"            when writing the file fails (e.g. 27 for EFBIG).
void saveJpegPixels(
    const unsigned char* pixels, int width, int height, int stride, const std::string& path, int quality);

// Which rows a banded writer encodes: the whole picture, or one of the two parts of a picture that
// two writers encode at once, on two cores. The top part's bytes begin the file (its headers, marked
// for a restart where the bottom part begins, then the top rows); the bottom part's bytes end it
// (the bottom rows after the restart, then the file's end). One after the other they make a file
// whose pixels are exactly those of the whole picture encoded by one writer.
enum class JpegPart { Whole, Top, Bottom };

// The first row of the bottom part where a width x height picture is worth encoding in two parts,
// else 0 (too small to gain from a second thread, or too large for one restart interval).
int jpegBottomPartRow(int width, int height);

// Encodes a picture that arrives as bands of 32-bit rows (0xAARRGGBB words), top to bottom, and
// writes the file to `sink` as it goes, so that neither the picture nor its file is ever held whole:
// a grab read from the screen in strips is encoded while the next strip is on its way. Failures of
// the encoder throw the same NumberedError as saveJpegPixels; the sink keeps its own.
class BandedJpegWriter {
public:
    // `height` is the whole picture's; the writer of a part takes that part's rows only.
    BandedJpegWriter(int width, int height, int quality, ByteSink& sink, JpegPart part = JpegPart::Whole);
    ~BandedJpegWriter();
    BandedJpegWriter(const BandedJpegWriter&) = delete;
    BandedJpegWriter& operator=(const BandedJpegWriter&) = delete;

    void addRows(const unsigned char* rows, int count, std::ptrdiff_t stride);
    // Ends the picture and writes the file's last bytes.
    void finish();

private:
    struct Private;
    std::unique_ptr<Private> d;
};

} // namespace quorvex
