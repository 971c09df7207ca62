#include "app/picture_view_state.h"

#include "app/title_format.h"
#include "app/zoom.h"
#include "common/message_box.h"

namespace quorvex {

PictureViewState::PictureViewState(Twips twips)
    : pic1(twips, /*hasBorder=*/true)
    , pSize(twips)
    , pb(twips)
    , picImageEffect(twips, false, /*autoSize=*/false)
    , title(kProgramTitle)
    , m_twips(twips)
{
    // pic1 at start-up: 1 x 1 twips, just off the left edge, no picture, hidden.
    pic1.setWidth(1);
    pic1.setHeight(1);
    pic1.setLeft(-10);
    pic1.setPicture({});
    pic1.setVisible(false);
}

void PictureViewState::commit()
{
    pic1.takeSurfaceAsPicture();
    pSize.setPicture(pic1.picture());
}

void PictureViewState::keepGrab()
{
    pic1.takeSurfaceAsPicture();
    pb.setPicture(pic1.surface());
    pSize.setPicture(pic1.surface());
}

ResizeResult PictureViewState::ZoomByPercent(int percent, bool enlarge)
{
    if (!pic1.hasPicture())
        return ResizeResult::NoPicture;
    const double factor = zoomFactor(percent, enlarge);
    // The box takes the products as single precision and keeps whole pixels; what it took, in
    // whole twips, is what ResizePicture gets.
    const float width = static_cast<float>(pSize.width() * factor);
    const float height = static_cast<float>(pSize.height() * factor);
    if (width < 0 || height < 0)
        return ResizeResult::Refused;
    const int widthTwips = m_twips.fromPixelsX(m_twips.toPixelsX(width));
    const int heightTwips = m_twips.fromPixelsY(m_twips.toPixelsY(height));
    return ResizePicture(widthTwips, heightTwips);
}

ResizeResult PictureViewState::ResizePicture(int width, int height)
{
    if (!pic1.hasPicture())
        return ResizeResult::NoPicture;
    const int border = 2 * pic1.borderPixels();
    const QSize inner(m_twips.toPixelsX(width) - border, m_twips.toPixelsY(height) - border);
    if (width < 0 || height < 0 || !isAcceptablePictureSize(inner))
        return ResizeResult::Refused;
    // Nearest neighbour over the whole inner area, like a plain stretched copy.
    const QImage stretched = pSize.picture().scaled(inner, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    if (stretched.isNull())
        return ResizeResult::Refused;

    pic1.resizeWithSurface(width, height,
        stretched.format() == QImage::Format_RGB32 ? stretched
                                                   : stretched.convertToFormat(QImage::Format_RGB32));
    commit();
    setWholePixelTitle();
    return ResizeResult::Done;
}

void PictureViewState::Reset()
{
    if (!pb.hasPicture())
        return;
    pic1.setPicture(pb.surface());
    pSize.setPicture(pb.surface());
    setWholePixelTitle();
}

void PictureViewState::Clear()
{
    pic1.setPicture({});
    pic1.setWidth(1);
    pic1.setHeight(1);
    pic1.setLeft(-10);
    pic1.setVisible(false);
}

void PictureViewState::setWholePixelTitle()
{
    title = titleInWholePixels(pic1.width() / m_twips.perPixelX, pic1.height() / m_twips.perPixelY);
}

} // namespace quorvex
