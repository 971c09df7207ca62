#include "common/device_pixels.h"

#include <cmath>

namespace quorvex {

namespace {

int nearest(double value)
{
    return static_cast<int>(std::lround(value));
}

} // namespace

int toDeviceLength(int logical, double ratio)
{
    return nearest(logical * ratio);
}

QSize toDeviceSize(QSize logical, double ratio)
{
    return {toDeviceLength(logical.width(), ratio), toDeviceLength(logical.height(), ratio)};
}

QPoint toDevicePoint(QPoint logical, const ScreenScale& scale)
{
    const QPoint offset = logical - scale.origin;
    return scale.origin
        + QPoint(toDeviceLength(offset.x(), scale.ratio), toDeviceLength(offset.y(), scale.ratio));
}

} // namespace quorvex
