#include "capture/overlay_shape.h"

#include <QPainter>
#include <vector>

namespace quorvex {

namespace {

constexpr QRgb kOpaque = 0xFF000000; // any colour but the key

bool isKey(QRgb pixel)
{
    return (pixel | 0xFF000000) == kTransparencyKey;
}

// Diagonal cross-hatch with an 8-pixel period, anchored at s1's corner: both diagonals of each cell.
bool onHatch(int x, int y)
{
    const int column = x & 7;
    const int row = y & 7;
    return column == row || column == 7 - row;
}

// Whether the rectangles from `first` (one row) repeat the band that starts at `band` run for run.
bool sameRuns(const std::vector<QRect>& rects, size_t band, size_t first)
{
    if (first - band != rects.size() - first)
        return false;
    for (size_t i = 0; i < first - band; ++i)
        if (rects[band + i].x() != rects[first + i].x()
            || rects[band + i].width() != rects[first + i].width())
            return false;
    return true;
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
    const int right = size.width() - 1;
    const int bottom = size.height() - 1;
    for (int y = 0; y <= bottom; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        if (y == 0 || y == bottom) {
            std::fill(line, line + size.width(), qRgb(0, 0, 0));
            continue;
        }
        line[0] = line[right] = qRgb(0, 0, 0);
        for (int x = 1; x < right; ++x)
            if (onHatch(x, y))
                line[x] = kHatchColour;
    }
    return image;
}

QRegion regionOutsideKey(const QImage& image)
{
    const QImage pixels = image.convertToFormat(QImage::Format_RGB32);
    // One pass, rows with the same runs merged into one band: Y-X banded as QRegion::setRects wants,
    // and a solid area stays a single rectangle.
    // At most one run per two pixels of a row; reserving the bound avoids copying a growing vector.
    std::vector<QRect> rects;
    rects.reserve(static_cast<size_t>(pixels.height()) * (pixels.width() / 2 + 1));
    size_t band = 0;
    for (int y = 0; y < pixels.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(pixels.constScanLine(y));
        const size_t first = rects.size();
        for (int x = 0; x < pixels.width();) {
            while (x < pixels.width() && isKey(line[x]))
                ++x;
            const int start = x;
            while (x < pixels.width() && !isKey(line[x]))
                ++x;
            if (x > start)
                rects.emplace_back(start, y, x - start, 1);
        }
        if (first > band && first < rects.size() && rects[first - 1].bottom() == y - 1
            && sameRuns(rects, band, first)) {
            rects.resize(first);
            for (size_t i = band; i < first; ++i)
                rects[i].setHeight(rects[i].height() + 1);
        } else {
            band = first;
        }
    }
    QRegion region;
    region.setRects(rects.data(), static_cast<int>(rects.size()));
    return region;
}

QRegion overlayShape(QSize window, const QRect& clientArea, const QList<QRect>& opaqueControls,
    const QRect& s1, const QImage& s1Look)
{
    // The window as the colour key sees it: everything keyed out but our frame, the controls and the
    // lines of s1.
    QImage keyed(window, QImage::Format_RGB32);
    keyed.fill(kOpaque);
    QPainter painter(&keyed);
    painter.setClipRect(clientArea);
    painter.translate(clientArea.topLeft());
    painter.fillRect(QRect(QPoint(0, 0), clientArea.size()), QColor(kTransparencyKey));
    painter.drawImage(s1.topLeft(), s1Look);
    for (const QRect& control : opaqueControls)
        painter.fillRect(control, QColor(kOpaque));
    painter.end();
    return regionOutsideKey(keyed);
}

} // namespace quorvex
