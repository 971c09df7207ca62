#include "numeric.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace quorvex {

int roundHalfEven(double value)
{
    if (std::isnan(value))
        return 0;
    // nearbyint follows the current rounding mode, which nothing in the program changes from
    // round-to-nearest-even.
    const double rounded = std::nearbyint(value);
    if (rounded >= static_cast<double>(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (rounded <= static_cast<double>(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return static_cast<int>(rounded);
}

int integerDivide(double dividend, double divisor)
{
    const int d = roundHalfEven(divisor);
    if (d == 0)
        return 0;
    const long long n = roundHalfEven(dividend);
    return static_cast<int>(n / d);
}

double leadingNumber(QStringView text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && (text[i] == u' ' || text[i] == u'\t'))
        ++i;
    const qsizetype start = i;
    auto isDigit = [&](qsizetype k) { return k < n && text[k] >= u'0' && text[k] <= u'9'; };

    if (i < n && (text[i] == u'+' || text[i] == u'-'))
        ++i;
    qsizetype digits = 0;
    while (isDigit(i)) {
        ++i;
        ++digits;
    }
    if (i < n && text[i] == u'.') {
        ++i;
        while (isDigit(i)) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0)
        return 0.0;
    qsizetype end = i;
    if (i < n && (text[i] == u'e' || text[i] == u'E')) {
        qsizetype k = i + 1;
        if (k < n && (text[k] == u'+' || text[k] == u'-'))
            ++k;
        if (isDigit(k)) {
            while (isDigit(k))
                ++k;
            end = k;
        }
    }
    bool ok = false;
    const double value = text.sliced(start, end - start).toString().toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return 0.0;
    return value;
}

QString formatSingle(float value)
{
    return QString::number(static_cast<double>(value), 'G', 7);
}

Twips Twips::fromDpi(double dpiX, double dpiY)
{
    Twips t;
    if (dpiX > 0)
        t.perPixelX = std::max(1, roundHalfEven(1440.0 / dpiX));
    if (dpiY > 0)
        t.perPixelY = std::max(1, roundHalfEven(1440.0 / dpiY));
    return t;
}

Twips Twips::perDevicePixel(double ratio) const
{
    if (!(ratio > 0) || !std::isfinite(ratio))
        return *this;
    return {perPixelX / ratio, perPixelY / ratio};
}

int wholePixels(double twips, double twipsPerPixel)
{
    if (!(std::abs(twipsPerPixel) >= 0.5))
        return 0; // as "\" with a divisor that rounds to 0
    if (twipsPerPixel == std::floor(twipsPerPixel))
        return integerDivide(twips, twipsPerPixel);
    // Products of pixels and twips per pixel come back whole despite the binary fraction.
    const double quotient = roundHalfEven(twips) / twipsPerPixel;
    return roundHalfEven(
        std::trunc(quotient + std::copysign(1e-9, quotient) * std::max(1.0, std::abs(quotient))));
}

} // namespace quorvex
