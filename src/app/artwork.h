#pragma once

#include <QCursor>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QString>

class QPainter;

// The program's own pictures, drawn in code so there is no binary resource to keep in step.
namespace quorvex::artwork {

// The sizes the program's icon is drawn and installed at, in pixels.
inline constexpr int kProgramIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};
QIcon programIcon(); // the window's icon, in each of those sizes
QImage programIconImage(int side); // side x side pixels, transparent around the drawing
void paintProgramIcon(QPainter& painter, int side);
QString programIconSvg(); // the same drawing as a scalable picture
QPixmap exitBitmap(); // 16 x 16
QPixmap saveBitmap(); // 16 x 16
QPixmap clearBitmap(); // 16 x 16
QPixmap rotateIcon(); // 32 x 32, shown at 16 x 16
QPixmap aboutBitmap(); // 24 x 24
// 32 x 32 pointing hand, hot spot (12, 1): the finger tip.
QCursor pointingHand();

} // namespace quorvex::artwork
