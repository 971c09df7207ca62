#include "app/main_window.h"
#include "app/picture_view.h"
#include "app/toolbar.h"

#include <QLabel>

// Mouse events on the window's own surface: hover hints and stretching pic1 by its edges.
namespace quorvex {

void Form1::surfacePress()
{
    StretchActive = true;
}

void Form1::surfaceMove(QPointF pos)
{
    PictureBox& box = m_state.pic1;
    if (StretchActive) {
        applyStretchDrag(box, m_stretchMode, pos.x(), pos.y(), m_state.GrabWidth, m_state.GrabHeight);
        pic1->sync();
        return;
    }
    m_stretchMode = stretchZone({box.left(), box.top(), box.width(), box.height()}, pos.x(), pos.y());
    m_surface->setCursor(stretchCursor(m_stretchMode));
    if (m_stretchMode == StretchMode::None) {
        Frame2->frmTips->hide();
    } else {
        Frame2->lblTips->setText(stretchHint(m_stretchMode));
        Frame2->frmTips->show();
    }
}

void Form1::surfaceRelease()
{
    StretchActive = false;
    PictureBox& box = m_state.pic1;
    if (m_state.ResizePicture(roundHalfEven(box.width()), roundHalfEven(box.height()))
        == ResizeResult::Refused) {
        // The box takes back the size of the picture it still shows.
        box.setPicture(box.picture());
        showRefusedResize();
    }
    m_state.pSize.setPicture(box.surface());
    syncView();
}

} // namespace quorvex
