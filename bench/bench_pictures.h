#pragma once

#include <QImage>
#include <QPainter>

// Desktop-like content for the benchmarks: flat panels, window frames with title bars, rows of
// small glyph-like marks and a gradient. The same seed gives the same picture every run.
inline QImage screenLikePicture(int width, int height)
{
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(qRgb(38, 70, 110));
    QPainter painter(&picture);
    for (int y = height * 2 / 3 + 1; y < height; ++y) // wallpaper gradient in the lower third
        painter.fillRect(0, y, width, 1, QColor(38 + y % 64, 70, 110 + (y * 50 / height)));
    quint32 seed = 12345;
    auto next = [&seed] { return seed = seed * 1664525u + 1013904223u; };
    for (int window = 0; window < 6; ++window) {
        const QRect frame(int(next() % (width / 2)), int(next() % (height / 2)), width / 3, height / 3);
        painter.fillRect(frame, QColor(240, 240, 240));
        painter.fillRect(frame.x(), frame.y(), frame.width(), 24, QColor(60, 90, 160));
        for (int line = frame.y() + 32; line < frame.bottom() - 14; line += 16)
            for (int x = frame.x() + 8; x < frame.right() - 8; x += 7)
                if (next() % 5 != 0)
                    painter.fillRect(x, line, 5, 9 - int(next() % 4), QColor(20, 20, 20));
    }
    return picture;
}
