#include "app/main_window.h"
#include "app/picture_view.h"
#include "transform/effects.h"

// Mirrors, the half turn and the quarter turns of pic1's picture.
namespace quorvex {

void Form1::mirror(MirrorKind kind)
{
    PictureBox& view = m_state.pic1;
    if (!view.hasPicture())
        return;
    const QImage mirroredPicture = mirrored(view.picture(), kind);
    if (mirroredPicture.isNull()) {
        m_services.messages.show(rotateErrorMessage());
        return;
    }
    view.resizeWithSurface(view.width(), view.height(), mirroredPicture);
    m_state.commit();
    syncView();
}

void Form1::RotateByAngle(qint16 angle)
{
    PictureBox& view = m_state.pic1;
    if (!view.hasPicture())
        return;

    // The scratch copy: picImageEffect sizes itself to pic1's surface while it takes it.
    PictureBox& scratch = m_state.picImageEffect;
    const bool autoSize = scratch.autoSize();
    scratch.setAutoSize(true);
    scratch.setWidth(view.width());
    scratch.setHeight(view.height());
    scratch.setPicture(view.surface());

    const QImage before = view.surface();
    RotateResult result
        = RotatePicture(scratch.picture(), view.backColor().rgb(), angle, [&](const QImage& painted) {
              // The view shows the turn as it is built up, column by column.
              view.surface() = painted;
              pic1->repaint();
          });
    scratch.setAutoSize(autoSize);

    if (result.ok()) {
        // A quarter turn exchanges width and height; the edge stays around the turned picture.
        const int border = 2 * view.borderPixels();
        view.resizeWithSurface(m_twips.fromPixelsX(result.surface.width() + border),
            m_twips.fromPixelsY(result.surface.height() + border), result.surface);
    } else {
        // Nothing half-turned is kept: the picture stays as it was.
        view.surface() = before;
        m_services.messages.show(rotateErrorMessage());
    }
    view.takeSurfaceAsPicture();
    m_state.pSize.setPicture(view.surface());
    syncView();
}

} // namespace quorvex
