#include "app/picture_gestures.h"

#include "common/numeric.h"

namespace quorvex {

void PictureGestures::viewPress(QPointF pos)
{
    DragStartX = roundHalfEven(pos.x());
    DragStartY = roundHalfEven(pos.y());
    DragActive = true;
}

bool PictureGestures::viewMove(QPointF pos)
{
    // The point grabbed stays under the pointer.
    if (DragActive)
        m_state.moveViewBy(pos.x() - DragStartX, pos.y() - DragStartY);
    return DragActive;
}

StretchMode PictureGestures::surfaceMove(QPointF pos)
{
    if (StretchActive) {
        m_state.stretchTo(m_stretchMode, pos.x(), pos.y());
        return m_stretchMode;
    }
    const PictureBox& box = m_state.view();
    m_stretchMode = stretchZone({box.left(), box.top(), box.width(), box.height()}, pos.x(), pos.y());
    return m_stretchMode;
}

ResizeResult PictureGestures::surfaceRelease()
{
    StretchActive = false;
    return m_state.finishStretch();
}

} // namespace quorvex
