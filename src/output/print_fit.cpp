#include "output/print_fit.h"

#include "common/numeric.h"

#include <cmath>

namespace quorvex {

namespace {

constexpr double kHimetricPerInch = 2540;
constexpr double kMetresPerInch = 0.0254;

int dotsPerInch(int dotsPerMetre)
{
    const int dpi = roundHalfEven(dotsPerMetre * kMetresPerInch);
    return dpi > 0 ? dpi : 96;
}

bool positive(double value)
{
    return std::isfinite(value) && value > 0;
}

} // namespace

QSize pictureSizeHimetric(const QImage& picture)
{
    return QSize(roundHalfEven(picture.width() * kHimetricPerInch / dotsPerInch(picture.dotsPerMeterX())),
        roundHalfEven(picture.height() * kHimetricPerInch / dotsPerInch(picture.dotsPerMeterY())));
}

PageOrientation orientationFor(double pictureWidth, double pictureHeight)
{
    return pictureHeight >= pictureWidth ? PageOrientation::Portrait : PageOrientation::Landscape;
}

std::optional<PrintSize> fitToPrintableArea(
    double pictureWidth, double pictureHeight, float areaWidth, float areaHeight)
{
    if (!positive(pictureWidth) || !positive(pictureHeight) || !positive(areaWidth) || !positive(areaHeight))
        return std::nullopt;
    const double pictureRatio = pictureWidth / pictureHeight;
    const double pageRatio = double(areaWidth) / double(areaHeight);
    if (pictureRatio >= pageRatio)
        return PrintSize{areaWidth, float(areaWidth / pictureRatio)};
    return PrintSize{float(areaHeight * pictureRatio), areaHeight};
}

} // namespace quorvex
