#pragma once

#include "output/dib_section.h"
#include "output/numbered_error.h"

#include <QString>

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

} // namespace quorvex
