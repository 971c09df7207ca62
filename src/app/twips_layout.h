#pragma once

#include "common/numeric.h"

#include <QLabel>
#include <QRect>

class QWidget;

namespace quorvex {

// A control's designed rectangle in twips as pixels, each value rounded halves to even.
QRect pixelRect(const Twips& twips, double left, double top, double width, double height);
void placeInTwips(QWidget* widget, const Twips& twips, double left, double top, double width, double height);

// Makes `label`'s font smaller, a quarter point at a time and no smaller than 6 points, until its
// text fits in `width` pixels and its line in the label's height: a layout measured for one face
// holds in a wider one.
void shrinkFontToFit(QLabel* label, int width);

} // namespace quorvex
