#pragma once

#include <QCursor>
#include <QIcon>
#include <QPixmap>

// The program's own pictures, drawn in code so there is no binary resource to keep in step.
namespace quorvex::artwork {

QIcon programIcon(); // 48 x 48
QPixmap exitBitmap(); // 16 x 16
QPixmap saveBitmap(); // 16 x 16
QPixmap clearBitmap(); // 16 x 16
QPixmap rotateIcon(); // 32 x 32, shown at 16 x 16
QPixmap aboutBitmap(); // 24 x 24
// 32 x 32 pointing hand, hot spot (12, 1): the finger tip.
QCursor pointingHand();

} // namespace quorvex::artwork
