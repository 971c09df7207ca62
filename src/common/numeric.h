#pragma once

#include <QString>
#include <QStringView>

// The number rules the whole program shares. Geometry is kept in twips (1/1440 inch); every
// fraction becomes a whole number by rounding to the nearest, halves to the even neighbour.
namespace quorvex {

// Nearest whole number, exact halves to the even neighbour (150.5 -> 150, 151.5 -> 152). Values
// beyond the int range, infinities and NaN saturate instead of being undefined.
int roundHalfEven(double value);

// The "\" operator of the old runtime: both operands rounded first, then the quotient truncated
// toward zero. A divisor that rounds to 0 gives 0.
int integerDivide(double dividend, double divisor);

// Leading-number rule for typed text: blanks, optional sign, digits, optional point and digits,
// optional exponent; whatever follows is ignored and text that starts otherwise counts as 0.
double leadingNumber(QStringView text);

// A single-precision value written with up to seven significant digits and no point when whole
// (158, 158.6667), as the title shows grab sizes.
QString formatSingle(float value);

// A length in twips as the whole pixels it holds: the twips rounded, divided by twips per pixel and
// truncated, as "\" does; unlike it, a fractional number of twips per pixel (7.5 on a screen at
// 200 %) is kept as it is, so the pixels stay exact.
int wholePixels(double twips, double twipsPerPixel);

// Twips per pixel of a display: 15 at 96 dpi. Windows are laid out in twips per logical pixel, a
// whole number; pictures count device pixels, of which a screen scaled by a ratio has that many
// more per logical pixel (7.5 twips per pixel at 200 %, 10 at 150 %).
struct Twips {
    double perPixelX = 15;
    double perPixelY = 15;

    static Twips fromDpi(double dpiX, double dpiY);
    // The same display's twips per device pixel, where `ratio` device pixels make one logical pixel.
    Twips perDevicePixel(double ratio) const;

    int toPixelsX(double twips) const { return roundHalfEven(twips / perPixelX); }
    int toPixelsY(double twips) const { return roundHalfEven(twips / perPixelY); }
    double fromPixelsX(int pixels) const { return pixels * perPixelX; }
    double fromPixelsY(int pixels) const { return pixels * perPixelY; }
    int wholePixelsX(double twips) const { return wholePixels(twips, perPixelX); }
    int wholePixelsY(double twips) const { return wholePixels(twips, perPixelY); }
};

} // namespace quorvex
