#include "platform/still/still_view.h"

#include "common/device_pixels.h"

namespace quorvex {

StillView stillView(QSize picture, const QRect& desktop, const QRect& output)
{
    // A picture that does not say how it relates to the desktop is taken at one pixel per pixel.
    const double ratio
        = desktop.width() > 0 && picture.width() > 0 ? double(picture.width()) / desktop.width() : 1.0;
    const QPoint offset = output.topLeft() - desktop.topLeft();
    const QRect source(QPoint(toDeviceLength(offset.x(), ratio), toDeviceLength(offset.y(), ratio)),
        toDeviceSize(output.size(), ratio));
    return {source.intersected(QRect(QPoint(), picture)), ratio};
}

QPoint stillToPicture(const StillView& view, QPoint onStill)
{
    return view.source.topLeft()
        + QPoint(toDeviceLength(onStill.x(), view.ratio), toDeviceLength(onStill.y(), view.ratio));
}

} // namespace quorvex
