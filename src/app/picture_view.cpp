#include "app/picture_view.h"

#include "app/picture_box.h"
#include "common/device_pixels.h"

#include <QMouseEvent>
#include <QPainter>
#include <cmath>

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
    // The box counts device pixels; the widget covers them with whole logical pixels and paints the
    // box from its own device offset.
    const double ratio = devicePixelRatioF();
    const QRect device(m_box.positionPixels(), m_box.outerSize());
    const QPoint topLeft(
        static_cast<int>(std::floor(device.x() / ratio)), static_cast<int>(std::floor(device.y() / ratio)));
    const QPoint end(static_cast<int>(std::ceil((device.x() + device.width()) / ratio)),
        static_cast<int>(std::ceil((device.y() + device.height()) / ratio)));
    m_deviceOffset
        = device.topLeft() - QPoint(toDeviceLength(topLeft.x(), ratio), toDeviceLength(topLeft.y(), ratio));
    setGeometry(QRect(topLeft, end - QPoint(1, 1)));
    setVisible(m_box.isVisible());
    update();
}

void PictureView::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    // One picture pixel on one device pixel: paint in device pixels, never resampled.
    const double ratio = devicePixelRatioF();
    p.fillRect(rect(), m_box.backColor());
    p.scale(1 / ratio, 1 / ratio);
    p.translate(m_deviceOffset);
    const int border = m_box.borderPixels();
    p.drawImage(border, border, m_box.surface());
    if (border > 0) {
        // Sunken edge: dark above and left, light below and right, two lines deep.
        const QRect r = QRect(QPoint(), m_box.outerSize()).adjusted(0, 0, -1, -1);
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
    const QPointF device = pixelPos * devicePixelRatioF() - QPointF(m_deviceOffset);
    const int border = m_box.borderPixels();
    return {(device.x() - border) * m_box.twips().perPixelX, (device.y() - border) * m_box.twips().perPixelY};
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
