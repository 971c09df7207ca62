#include "capture/overlay_shape.h"

#include <QBrush>
#include <QPainter>
#include <vector>

namespace quorvex {

namespace {

using Runs = std::vector<std::pair<int, int>>; // [first, last] columns

Runs runsOutsideKey(const QImage& image, int y)
{
    Runs runs;
    const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    int x = 0;
    while (x < image.width()) {
        while (x < image.width() && (line[x] | 0xFF000000) == kTransparencyKey)
            ++x;
        const int first = x;
        while (x < image.width() && (line[x] | 0xFF000000) != kTransparencyKey)
            ++x;
        if (x > first)
            runs.emplace_back(first, x - 1);
    }
    return runs;
}

void appendBand(std::vector<QRect>& rects, const Runs& runs, int top, int height)
{
    for (const auto& [first, last] : runs)
        rects.emplace_back(first, top, last - first + 1, height);
}

} // namespace

QImage selectionFrameImage(QSize size, bool hatchAndBorder)
{
    if (size.isEmpty())
        return {};
    QImage image(size, QImage::Format_RGB32);
    image.fill(kTransparencyKey);
    if (!hatchAndBorder)
        return image;
    QPainter painter(&image);
    painter.fillRect(
        QRect(QPoint(1, 1), size - QSize(2, 2)), QBrush(QColor(kHatchColour), Qt::DiagCrossPattern));
    painter.setPen(Qt::black);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRect(QPoint(0, 0), size - QSize(1, 1)));
    return image;
}

QRegion regionOutsideKey(const QImage& image)
{
    const QImage pixels = image.convertToFormat(QImage::Format_RGB32);
    // Rows with the same runs become one band, which keeps borders and solid areas to a few rectangles.
    std::vector<QRect> rects;
    Runs band;
    int bandTop = 0;
    for (int y = 0; y < pixels.height(); ++y) {
        Runs runs = runsOutsideKey(pixels, y);
        if (runs == band)
            continue;
        appendBand(rects, band, bandTop, y - bandTop);
        band = std::move(runs);
        bandTop = y;
    }
    appendBand(rects, band, bandTop, pixels.height() - bandTop);
    QRegion region;
    region.setRects(rects.data(), static_cast<int>(rects.size()));
    return region;
}

QRegion overlayShape(QSize window, const QRect& clientArea, const QList<QRect>& opaqueControls,
    const QRect& s1, const QImage& s1Look)
{
    QRegion shape = QRegion(QRect(QPoint(0, 0), window)) - QRegion(clientArea);
    QRegion inside;
    for (const QRect& control : opaqueControls)
        inside += control;
    inside += regionOutsideKey(s1Look).translated(s1.topLeft());
    shape += inside.translated(clientArea.topLeft()) & clientArea;
    return shape;
}

} // namespace quorvex
