#pragma once

#include <QImage>
#include <cmath>

// Plain per-pixel mappings the transforms are checked against; nothing shared with the library.
namespace oracle {

enum class Mirror { Horizontal, Vertical, HalfTurn };

inline QImage mirrored(const QImage& picture, Mirror kind)
{
    const int w = picture.width(), h = picture.height();
    QImage result(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int fromX = kind == Mirror::Vertical ? x : w - 1 - x;
            const int fromY = kind == Mirror::Horizontal ? y : h - 1 - y;
            result.setPixel(x, y, picture.pixel(fromX, fromY));
        }
    return result;
}

// The former top edge along the right side.
inline QImage turnedClockwise(const QImage& picture)
{
    const int w = picture.width(), h = picture.height();
    QImage result(h, w, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            result.setPixel(h - 1 - y, x, picture.pixel(x, y));
    return result;
}

// The former top edge along the left side: a half turn, then a clockwise quarter.
inline QImage turnedCounterClockwise(const QImage& picture)
{
    return turnedClockwise(mirrored(picture, Mirror::HalfTurn));
}

// The polar rotation: the quarter-square loop with four reads and four ordered writes, no offsets.
inline QImage polarRotation(const QImage& scratch, QImage target, float degrees)
{
    const double pi = 3.14159265358979;
    auto nearest = [](double v) { return static_cast<int>(std::nearbyint(v)); }; // halves to even
    const int cxS = nearest(scratch.width() / 2.0), cyS = nearest(scratch.height() / 2.0);
    const int cxD = nearest(target.width() / 2.0), cyD = nearest(target.height() / 2.0);
    const float reach = target.width() > target.height() ? target.width() / 2.0f : target.height() / 2.0f;
    const int n = nearest(reach);
    const float theta = float((pi / 180) * degrees);
    auto copy = [&](int readX, int readY, int writeX, int writeY) {
        if (scratch.valid(readX, readY) && target.valid(writeX, writeY))
            target.setPixel(writeX, writeY, scratch.pixel(readX, readY));
    };

    for (int x = 0; x <= n; ++x)
        for (int y = 0; y <= n; ++y) {
            const float a0 = x == 0 ? float(pi / 2) : float(std::atan(double(y) / double(x)));
            const int r = nearest(std::sqrt(double(x * x + y * y)));
            const float turned = a0 + theta;
            const int dx = nearest(r * std::cos(double(turned)));
            const int dy = nearest(r * std::sin(double(turned)));
            copy(cxS + dx, cyS + dy, cxD + x, cyD + y);
            copy(cxS - dx, cyS - dy, cxD - x, cyD - y);
            copy(cxS + dy, cyS - dx, cxD + y, cyD - x);
            copy(cxS - dy, cyS + dx, cxD - y, cyD + x);
        }
    return target;
}

} // namespace oracle
