#include "platform/still/still_overlay_window_system.h"

#include <QRegion>
#include <QWidget>

namespace quorvex {

StillOverlayWindowSystem::StillOverlayWindowSystem(std::shared_ptr<StillPicture> still)
    : m_still(std::move(still))
{
}

void StillOverlayWindowSystem::applyShape(QWidget& window, const QRegion& shape)
{
    window.setMask(shape);
}

QPoint StillOverlayWindowSystem::deviceTopLeft(const QWidget& window) const
{
    return window.isWindow() ? OverlayWindowSystem::deviceTopLeft(window)
                             : stillToPicture(m_still->view(), window.pos());
}

double StillOverlayWindowSystem::deviceRatio(const QWidget& window) const
{
    return window.isWindow() ? OverlayWindowSystem::deviceRatio(window) : m_still->view().ratio;
}

StillHidingScreenSource::StillHidingScreenSource(std::shared_ptr<StillPicture> still)
    : m_still(std::move(still))
{
}

Result<QImage> StillHidingScreenSource::grab(const QRect& rect)
{
    if (rect.isEmpty())
        return QImage();
    return m_still->readFresh(rect);
}

} // namespace quorvex
