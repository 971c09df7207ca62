#pragma once

#include <QImage>
#include <QSize>
#include <optional>

// The arithmetic of printing, in HIMETRIC units (0.01 mm).
namespace quorvex {

enum class PageOrientation { Portrait = 1, Landscape = 2 };

// A size on paper. Printable areas and print sizes are single precision, as the printer's unit
// conversions gave them; the ratios between them are worked out in double.
struct PrintSize {
    float width = 0;
    float height = 0;

    bool operator==(const PrintSize&) const = default;
};

// The picture's natural size: its pixels at its own resolution (QImage's dots per metre, taken as
// a whole number of dots per inch; 96 when it has none), rounded to whole HIMETRIC.
QSize pictureSizeHimetric(const QImage& picture);

// Portrait when the picture is at least as high as it is wide.
PageOrientation orientationFor(double pictureWidth, double pictureHeight);

// The picture's aspect ratio, as large as fits the printable area: the full width when the picture
// is relatively at least as wide as the area, else the full height. Nothing when either has no
// width or height, since nothing can be fitted then.
std::optional<PrintSize> fitToPrintableArea(
    double pictureWidth, double pictureHeight, float areaWidth, float areaHeight);

} // namespace quorvex
