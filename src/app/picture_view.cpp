#include "app/picture_view.h"

#include "app/picture_box.h"

#include <QMouseEvent>
#include <QPainter>

namespace quorvex {

PictureView::PictureView(const PictureBox& box, QWidget* parent)
    : QWidget(parent)
    , m_box(box)
{
    setObjectName(QStringLiteral("pic1"));
    setCursor(Qt::SizeAllCursor);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    sync();
}

void PictureView::sync()
{
    setGeometry(QRect(m_box.positionPixels(), m_box.outerSize()));
    setVisible(m_box.isVisible());
    update();
}

void PictureView::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const int border = m_box.borderPixels();
    p.fillRect(rect(), m_box.backColor());
    p.drawImage(border, border, m_box.surface());
    if (border > 0) {
        // Sunken edge: dark above and left, light below and right, two lines deep.
        const QRect r = rect().adjusted(0, 0, -1, -1);
        p.setPen(QColor(160, 160, 160));
        p.drawLine(r.topLeft(), r.topRight());
        p.drawLine(r.topLeft(), r.bottomLeft());
        p.setPen(Qt::white);
        p.drawLine(r.bottomLeft(), r.bottomRight());
        p.drawLine(r.topRight(), r.bottomRight());
        const QRect in = r.adjusted(1, 1, -1, -1);
        p.setPen(QColor(105, 105, 105));
        p.drawLine(in.topLeft(), in.topRight());
        p.drawLine(in.topLeft(), in.bottomLeft());
        p.setPen(QColor(227, 227, 227));
        p.drawLine(in.bottomLeft(), in.bottomRight());
        p.drawLine(in.topRight(), in.bottomRight());
    }
}

QPointF PictureView::innerTwips(const QPointF& pixelPos) const
{
    const int border = m_box.borderPixels();
    return {
        (pixelPos.x() - border) * m_box.twips().perPixelX, (pixelPos.y() - border) * m_box.twips().perPixelY};
}

void PictureView::mousePressEvent(QMouseEvent* event)
{
    emit pressed(innerTwips(event->position()));
}

void PictureView::mouseMoveEvent(QMouseEvent* event)
{
    emit moved(innerTwips(event->position()));
}

void PictureView::mouseReleaseEvent(QMouseEvent*)
{
    emit released();
}

} // namespace quorvex
