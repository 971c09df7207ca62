#include "app/artwork.h"

#include <QBitmap>
#include <QPainter>
#include <QPainterPath>

namespace quorvex::artwork {

namespace {

QPixmap blank(int side)
{
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

} // namespace

QIcon programIcon()
{
    QPixmap pixmap = blank(48);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(40, 90, 160));
    p.setPen(QPen(QColor(20, 40, 80), 2));
    p.drawRoundedRect(QRectF(3, 9, 42, 30), 5, 5);
    p.setBrush(QColor(200, 230, 255));
    p.drawEllipse(QRectF(15, 14, 18, 18));
    // selection corners: what the program does
    p.setPen(QPen(QColor(255, 200, 0), 3));
    p.drawPolyline(QPolygonF({QPointF(2, 12), QPointF(2, 2), QPointF(12, 2)}));
    p.drawPolyline(QPolygonF({QPointF(36, 46), QPointF(46, 46), QPointF(46, 36)}));
    return QIcon(pixmap);
}

QPixmap exitBitmap()
{
    QPixmap pixmap = blank(16);
    QPainter p(&pixmap);
    p.setPen(QColor(90, 60, 30));
    p.setBrush(QColor(170, 120, 60));
    p.drawRect(2, 1, 8, 13);
    p.setPen(QPen(QColor(200, 0, 0), 2));
    p.drawLine(7, 8, 14, 8);
    p.drawLine(11, 5, 14, 8);
    p.drawLine(11, 11, 14, 8);
    return pixmap;
}

QPixmap saveBitmap()
{
    QPixmap pixmap = blank(16);
    QPainter p(&pixmap);
    p.setPen(QColor(20, 20, 60));
    p.setBrush(QColor(50, 70, 160));
    p.drawRect(1, 1, 13, 13);
    p.setBrush(Qt::white);
    p.drawRect(4, 1, 7, 5);
    p.setBrush(QColor(200, 200, 200));
    p.drawRect(3, 9, 9, 5);
    return pixmap;
}

QPixmap clearBitmap()
{
    QPixmap pixmap = blank(16);
    QPainter p(&pixmap);
    p.setPen(Qt::gray);
    p.setBrush(Qt::white);
    p.drawRect(1, 1, 13, 13);
    p.setPen(QPen(QColor(200, 0, 0), 2));
    p.drawLine(4, 4, 11, 11);
    p.drawLine(11, 4, 4, 11);
    return pixmap;
}

QPixmap rotateIcon()
{
    QPixmap pixmap = blank(32);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0, 110, 0), 4));
    p.drawArc(QRectF(5, 5, 22, 22), 90 * 16, -270 * 16);
    p.setBrush(QColor(0, 110, 0));
    p.setPen(Qt::NoPen);
    p.drawPolygon(QPolygonF({QPointF(16, 0), QPointF(24, 6), QPointF(16, 12)}));
    return pixmap;
}

QPixmap aboutBitmap()
{
    QPixmap pixmap = blank(24);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QColor(0, 0, 120));
    p.setBrush(QColor(60, 110, 220));
    p.drawEllipse(QRectF(1, 1, 22, 22));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(10.5, 5, 3, 3));
    p.drawRect(QRectF(10.5, 10, 3, 9));
    return pixmap;
}

QCursor pointingHand()
{
    // Index finger up from the hot spot, palm below: black outline on white.
    QPainterPath hand;
    hand.addRoundedRect(QRectF(10, 0, 5, 15), 2.5, 2.5); // index finger, tip at (12, 1)
    hand.addRoundedRect(QRectF(14, 7, 5, 10), 2.5, 2.5);
    hand.addRoundedRect(QRectF(18, 8, 5, 10), 2.5, 2.5);
    hand.addRoundedRect(QRectF(22, 9, 4, 10), 2, 2);
    hand.addRoundedRect(QRectF(4, 12, 8, 4), 2, 2); // thumb
    hand.addRoundedRect(QRectF(8, 12, 18, 14), 4, 4); // palm
    hand.setFillRule(Qt::WindingFill);

    QBitmap shape(32, 32);
    QBitmap mask(32, 32);
    shape.clear();
    mask.clear();
    {
        QPainter m(&mask);
        m.setPen(QPen(Qt::color1, 2));
        m.setBrush(Qt::color1);
        m.drawPath(hand);
    }
    {
        QPainter s(&shape);
        s.setPen(QPen(Qt::color1, 1));
        s.setBrush(Qt::NoBrush);
        s.drawPath(hand.simplified());
    }
    return QCursor(shape, mask, 12, 1);
}

} // namespace quorvex::artwork
