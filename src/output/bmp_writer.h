#pragma once

#include "output/bmp_encoder.h"
#include "output/dib_section.h"

#include <QByteArray>
#include <QString>

namespace quorvex {

// The headers of a 24-bit BMP file whose pixel rows are the section's array as it is; empty when
// the section holds no pixels.
QByteArray bmpFileHeaders(const cDIBSection& section);

// Writes the section as a 24-bit BMP file: the headers and the section's bytes in one write, safely
// replacing an existing file. A section without pixels writes nothing and fails.
Status writeBmpFile(const cDIBSection& section, const QString& path);

} // namespace quorvex
