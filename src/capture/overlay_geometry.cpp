#include "capture/overlay_geometry.h"

#include "common/device_pixels.h"

#include <algorithm>
#include <cmath>

namespace quorvex {

namespace {

// Client area and controls as designed, in twips.
constexpr int kClientWidth = 2670;
constexpr int kClientHeight = 2370;
constexpr QRect kDesignedS1(120, 240, 2400, 2010);
constexpr QRect kDesignedXButton(2280, -50, 405, 270);
constexpr int kLabel2Height = 150;

} // namespace

OverlayLayout designedOverlayLayout(Twips twips)
{
    const QSize window(kClientWidth + 2 * kOverlayFramePixels * twips.perPixelX,
        kClientHeight + 2 * kOverlayFramePixels * twips.perPixelY);
    return {window, kDesignedS1, kDesignedXButton, QRect(0, 0, window.width(), kLabel2Height)};
}

OverlayMargins marginsAtLoad(const OverlayLayout& layout)
{
    return {layout.window.width() - layout.s1.width(), layout.window.height() - layout.s1.height(),
        layout.window.width() - layout.xButton.x()};
}

QSize snapToMinimum(QSize windowTwips)
{
    return {std::max(windowTwips.width(), kOverlayMinimumWidth),
        std::max(windowTwips.height(), kOverlayMinimumHeight)};
}

OverlayLayout followWindowSize(const OverlayLayout& layout, const OverlayMargins& margins, QSize windowTwips)
{
    OverlayLayout result = layout;
    result.window = windowTwips;
    result.s1.setSize(
        {windowTwips.width() - margins.FrameMarginW, windowTwips.height() - margins.FrameMarginH});
    result.xButton.moveLeft(windowTwips.width() - margins.CloseOffset);
    result.label2.setWidth(windowTwips.width());
    return result;
}

QRect selectionGrabRect(QPoint windowTopLeft, const QRect& s1, Twips twips)
{
    // Our frame plus s1's own 1-pixel border, each way in its own direction's twips.
    const int bx = (kOverlayFramePixels + 1) * twips.perPixelX;
    const int by = (kOverlayFramePixels + 1) * twips.perPixelY;
    const int left = integerDivide(s1.x() + windowTopLeft.x() + bx, twips.perPixelX);
    const int top = integerDivide(s1.y() + windowTopLeft.y() + by, twips.perPixelY);
    const int width = integerDivide(s1.width(), twips.perPixelX) - 2;
    const int height = integerDivide(s1.height(), twips.perPixelY) - 2;
    return {left, top, width, height};
}

QRect deviceGrabRect(const QRect& logicalRect, QPoint windowLogical, QPoint windowDevice, double ratio)
{
    const QPoint offset = logicalRect.topLeft() - windowLogical;
    return {windowDevice + QPoint(toDeviceLength(offset.x(), ratio), toDeviceLength(offset.y(), ratio)),
        toDeviceSize(logicalRect.size(), ratio)};
}

SelectionGrabGeometry selectionGrabGeometry(QSize s1Size, QSize pictureSize, Twips pictureTwips)
{
    // At one device pixel per logical pixel the picture is s1 less its border: s1 - 2 pixels.
    SelectionGrabGeometry g;
    g.pictureWidth = pictureTwips.fromPixelsX(pictureSize.width());
    g.pictureHeight = pictureTwips.fromPixelsY(pictureSize.height());
    g.grabWidth = s1Size.width();
    g.grabHeight = s1Size.height();
    g.titleWidth = static_cast<float>(g.pictureWidth) / static_cast<float>(pictureTwips.perPixelX);
    g.titleHeight = static_cast<float>(g.pictureHeight) / static_cast<float>(pictureTwips.perPixelY);
    return g;
}

double definedSizeLength(int marginTwips, double pixels, double pictureTwipsPerPixel, int twipsPerPixel)
{
    return marginTwips + (pixels * pictureTwipsPerPixel + 2.0 * twipsPerPixel);
}

int pixelsCovering(int twipsLength, int twipsPerPixel)
{
    return (twipsLength + twipsPerPixel - 1) / twipsPerPixel;
}

int overlayLengthPixels(double wantedTwips, int minimumTwips, int largestPixels, int twipsPerPixel)
{
    const int smallest = pixelsCovering(minimumTwips, twipsPerPixel);
    const int largest = std::max(smallest, largestPixels);
    if (std::isnan(wantedTwips))
        return smallest;
    // Clamp while still in twips, so no huge value ever reaches an int.
    const double clamped = std::clamp(wantedTwips, 0.0, static_cast<double>(largest) * twipsPerPixel);
    return std::clamp(roundHalfEven(clamped / twipsPerPixel), smallest, largest);
}

QRect twipsToPixels(const QRect& twipsRect, Twips twips)
{
    return {twips.toPixelsX(twipsRect.x()), twips.toPixelsY(twipsRect.y()),
        twips.toPixelsX(twipsRect.width()), twips.toPixelsY(twipsRect.height())};
}

QPoint centredIn(const QRect& area, QSize size)
{
    return {area.x() + (area.width() - size.width()) / 2, area.y() + (area.height() - size.height()) / 2};
}

} // namespace quorvex
