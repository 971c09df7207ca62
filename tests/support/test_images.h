#pragma once

#include <QImage>
#include <QRect>
#include <QString>
#include <ostream>

namespace testsupport {

// Each pixel encodes its own coordinates, so any copy traces back to where it came from.
QImage coordinatePattern(int width, int height);

// What a grab of `rect` shows of a screen that shows `screen`: its pixels inside, black beyond.
QImage screenPartOnBlack(const QImage& screen, const QRect& rect);

// Small asymmetric picture (no mirror or turn of it equals itself) with a distinct colour per pixel.
QImage asymmetricPattern(int width, int height);

// Pixels of `colour`, alpha ignored.
int countPixels(const QImage& image, QRgb colour);

// Empty when both have the same size and the same RGB in every pixel; otherwise says where they differ.
QString differenceBetween(const QImage& actual, const QImage& expected);

// Makes `image` the background of the X root window on $DISPLAY (the tests' private Xvfb).
void setRootBackground(const QImage& image);

} // namespace testsupport

// GoogleTest shows a QString (a picture difference, say) as text.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}
