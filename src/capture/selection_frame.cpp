#include "capture/selection_frame.h"

#include "capture/overlay_shape.h"

#include <QPainter>

namespace quorvex {

SelectionFrame::SelectionFrame(QWidget* parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void SelectionFrame::setHatchAndBorder(bool on)
{
    if (on == m_hatchAndBorder)
        return;
    m_hatchAndBorder = on;
    update();
}

const QImage& SelectionFrame::look() const
{
    // Made when asked for: the size of a hidden widget changes without a resize event.
    if (m_look.size() != size() || m_lookHatchAndBorder != m_hatchAndBorder) {
        m_look = selectionFrameImage(size(), m_hatchAndBorder);
        m_lookHatchAndBorder = m_hatchAndBorder;
    }
    return m_look;
}

void SelectionFrame::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(0, 0, look());
}

} // namespace quorvex
