#pragma once

#include "output/dib_section.h"
#include "output/jpeg_encoder.h"

#include <QString>

namespace quorvex {

// Encodes the section's pixels in place (no copy; 4:2:0 subsampling) at `quality` (1 to 100) and
// safely replaces the file at `path` with the result, which keeps a replaced file's times and
// permission bits. A failure throws saveJpegPixels's NumberedError.
void WriteJpegFile(const cDIBSection& section, const QString& path, int quality);

} // namespace quorvex
