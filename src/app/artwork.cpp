#include "app/artwork.h"

#include <QBitmap>
#include <QPainter>
#include <QPainterPath>
#include <QStringList>

namespace quorvex::artwork {

namespace {

QPixmap blank(int side)
{
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

} // namespace

// The program's icon on a 48 x 48 grid, one description for both renderings: the window's icon is
// painted from it, and the installed icons (PNG sizes and the scalable SVG) are made from it at
// build time.
namespace icon {
const QColor kScreenFill(40, 90, 160);
const QColor kOutline(20, 40, 80);
constexpr double kOutlineWidth = 2;
constexpr QRectF kScreen(3, 9, 42, 30);
constexpr double kScreenRadius = 5;
const QColor kLensFill(200, 230, 255);
constexpr QRectF kLens(15, 14, 18, 18);
// selection corners: what the program does
const QColor kCorners(255, 200, 0);
constexpr double kCornerWidth = 3;
const QPolygonF kTopLeftCorner({QPointF(2, 12), QPointF(2, 2), QPointF(12, 2)});
const QPolygonF kBottomRightCorner({QPointF(36, 46), QPointF(46, 46), QPointF(46, 36)});
} // namespace icon

void paintProgramIcon(QPainter& p, int side)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(side / 48.0, side / 48.0);
    p.setBrush(icon::kScreenFill);
    p.setPen(QPen(icon::kOutline, icon::kOutlineWidth));
    p.drawRoundedRect(icon::kScreen, icon::kScreenRadius, icon::kScreenRadius);
    p.setBrush(icon::kLensFill);
    p.drawEllipse(icon::kLens);
    p.setPen(QPen(icon::kCorners, icon::kCornerWidth));
    p.drawPolyline(icon::kTopLeftCorner);
    p.drawPolyline(icon::kBottomRightCorner);
    p.restore();
}

QImage programIconImage(int side)
{
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    paintProgramIcon(p, side);
    return image;
}

QString programIconSvg()
{
    auto number = [](double value) { return QString::number(value); };
    auto points = [&](const QPolygonF& polygon) {
        QStringList list;
        for (const QPointF& point : polygon)
            list << number(point.x()) + QLatin1Char(',') + number(point.y());
        return list.join(QLatin1Char(' '));
    };
    // Qt's pens end lines square and join them bevelled by default.
    return QStringLiteral(
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"48\" height=\"48\" viewBox=\"0 0 48 48\">\n"
        "  <rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" rx=\"%5\" ry=\"%5\" fill=\"%6\" "
        "stroke=\"%7\" stroke-width=\"%8\"/>\n"
        "  <ellipse cx=\"%9\" cy=\"%10\" rx=\"%11\" ry=\"%12\" fill=\"%13\" stroke=\"%7\" "
        "stroke-width=\"%8\"/>\n"
        "  <g fill=\"none\" stroke=\"%14\" stroke-width=\"%15\" stroke-linecap=\"square\" "
        "stroke-linejoin=\"bevel\">\n"
        "    <polyline points=\"%16\"/>\n"
        "    <polyline points=\"%17\"/>\n"
        "  </g>\n"
        "</svg>\n")
        .arg(number(icon::kScreen.x()), number(icon::kScreen.y()), number(icon::kScreen.width()),
            number(icon::kScreen.height()), number(icon::kScreenRadius), icon::kScreenFill.name(),
            icon::kOutline.name(), number(icon::kOutlineWidth), number(icon::kLens.center().x()))
        .arg(number(icon::kLens.center().y()), number(icon::kLens.width() / 2),
            number(icon::kLens.height() / 2), icon::kLensFill.name(), icon::kCorners.name(),
            number(icon::kCornerWidth), points(icon::kTopLeftCorner), points(icon::kBottomRightCorner));
}

QIcon programIcon()
{
    QIcon icon;
    for (const int side : kProgramIconSizes)
        icon.addPixmap(QPixmap::fromImage(programIconImage(side)));
    return icon;
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
