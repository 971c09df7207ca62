#include "app/picture_view_state.h"

#include "app/title_format.h"
#include "app/zoom.h"
#include "common/message_box.h"
#include "transform/effects.h"

namespace quorvex {

PictureViewState::PictureViewState(Twips twips)
    : m_twips(twips)
    , pic1(twips, /*hasBorder=*/true)
    , pSize(twips)
    , pb(twips)
    , picImageEffect(twips, false, /*autoSize=*/false)
    , m_title(kProgramTitle)
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

void PictureViewState::placeAtGrabPosition()
{
    pic1.setTop(600);
    pic1.setLeft(240);
}

void PictureViewState::placeForWholeScreen(QSizeF screenTwips)
{
    pic1.setWidth(screenTwips.width());
    pic1.setHeight(screenTwips.height());
    GrabWidth = roundHalfEven(screenTwips.width());
    GrabHeight = roundHalfEven(screenTwips.height());
    placeAtGrabPosition();
    pic1.setVisible(true);
}

void PictureViewState::keepWholeScreenGrab(const QImage& picture)
{
    pic1.setPicture(picture);
    keepGrab();
}

void PictureViewState::acceptSelectionGrab(const QImage& picture, const SelectionGrabGeometry& g)
{
    pic1.setBorder(false); // gone for the rest of the run
    pic1.setPicture(picture);
    placeAtGrabPosition();
    pic1.setWidth(g.pictureWidth);
    pic1.setHeight(g.pictureHeight);
    m_title = titleInSinglePrecision(g.titleWidth, g.titleHeight);
    pic1.setVisible(true);
    GrabWidth = g.grabWidth;
    GrabHeight = g.grabHeight;
    keepGrab();
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

void PictureViewState::setWholePixelTitle()
{
    m_title = titleInWholePixels(pic1.width() / m_twips.perPixelX, pic1.height() / m_twips.perPixelY);
}

void PictureViewState::Clear()
{
    pic1.setPicture({});
    pic1.setWidth(1);
    pic1.setHeight(1);
    pic1.setLeft(-10);
    pic1.setVisible(false);
}

TurnResult PictureViewState::mirror(MirrorKind kind)
{
    if (!pic1.hasPicture())
        return TurnResult::NoPicture;
    const QImage mirroredPicture = mirrored(pic1.picture(), kind);
    if (mirroredPicture.isNull())
        return TurnResult::Failed;
    pic1.resizeWithSurface(pic1.width(), pic1.height(), mirroredPicture);
    commit();
    return TurnResult::Done;
}

TurnResult PictureViewState::RotateByAngle(qint16 angle, const std::function<void()>& repaint)
{
    if (!pic1.hasPicture())
        return TurnResult::NoPicture;

    // The scratch copy: picImageEffect sizes itself to pic1's surface while it takes it.
    const bool autoSize = picImageEffect.autoSize();
    picImageEffect.setAutoSize(true);
    picImageEffect.setWidth(pic1.width());
    picImageEffect.setHeight(pic1.height());
    picImageEffect.setPicture(pic1.surface());

    const QImage before = pic1.surface();
    const RotateResult result
        = RotatePicture(picImageEffect.picture(), pic1.backColor().rgb(), angle, [&](const QImage& painted) {
              pic1.surface() = painted;
              repaint();
          });
    picImageEffect.setAutoSize(autoSize);

    if (result.ok()) {
        // A quarter turn exchanges width and height; the edge stays around the turned picture.
        const int border = 2 * pic1.borderPixels();
        pic1.resizeWithSurface(m_twips.fromPixelsX(result.surface.width() + border),
            m_twips.fromPixelsY(result.surface.height() + border), result.surface);
    } else {
        // Nothing half-turned is kept: the picture stays as it was.
        pic1.surface() = before;
    }
    pic1.takeSurfaceAsPicture();
    pSize.setPicture(pic1.surface());
    return result.ok() ? TurnResult::Done : TurnResult::Failed;
}

void PictureViewState::moveViewBy(double dx, double dy)
{
    pic1.setLeft(static_cast<float>(pic1.left() + dx));
    pic1.setTop(static_cast<float>(pic1.top() + dy));
}

void PictureViewState::stretchTo(StretchMode mode, double x, double y)
{
    applyStretchDrag(pic1, mode, x, y, GrabWidth, GrabHeight);
}

ResizeResult PictureViewState::finishStretch()
{
    const ResizeResult result = ResizePicture(roundHalfEven(pic1.width()), roundHalfEven(pic1.height()));
    // The box takes back the size of the picture it still shows.
    if (result == ResizeResult::Refused)
        pic1.setPicture(pic1.picture());
    pSize.setPicture(pic1.surface());
    return result;
}

} // namespace quorvex
