#pragma once

#include "capture/selection_grab_receiver.h"
#include "common/numeric.h"

#include <QPoint>
#include <QRect>
#include <QSize>

// Rectangle arithmetic of the selection overlay, in twips unless a name says pixels. The overlay is a
// frameless window with a thin frame of our own drawing; its "client area" is what lies inside that
// frame, and the controls' positions count from the client area's corner.
namespace quorvex {

// Thickness of the overlay's own frame on every side, in pixels.
inline constexpr int kOverlayFramePixels = 4;

// The resize rule never lets the window be smaller than this (twips).
inline constexpr int kOverlayMinimumWidth = 450;
inline constexpr int kOverlayMinimumHeight = 600;

// The overlay's controls. `window` is the outer size, frame included; the rectangles are in the
// client area. Label2 may reach past the client area's right edge; the client area clips it.
struct OverlayLayout {
    QSize window;
    QRect s1;
    QRect xButton;
    QRect label2;

    bool operator==(const OverlayLayout&) const = default;
};

// Fixed at load, so the controls keep their distances from the window's edges.
struct OverlayMargins {
    int FrameMarginW = 0; // window width - s1 width
    int FrameMarginH = 0; // window height - s1 height
    int CloseOffset = 0; // window width - xButton left

    bool operator==(const OverlayMargins&) const = default;
};

// The layout as designed: client area 2670 x 2370 twips inside our frame.
OverlayLayout designedOverlayLayout(Twips twips);

OverlayMargins marginsAtLoad(const OverlayLayout& layout);

// The minimum-size snap of the resize rule.
QSize snapToMinimum(QSize windowTwips);

// After the window took `windowTwips`: s1 keeps its margins, xButton its distance from the right
// edge, Label2 spans the window.
OverlayLayout followWindowSize(const OverlayLayout& layout, const OverlayMargins& margins, QSize windowTwips);

// The screen rectangle in pixels that GrabSelection reads: the inside of s1 without its 1-pixel
// border. `windowTopLeft` is the window's outer corner on the screen.
QRect selectionGrabRect(QPoint windowTopLeft, const QRect& s1, Twips twips);

// The grab rectangle in the desktop's device pixels: `logicalRect`'s place inside the window at
// `windowLogical` scaled by `ratio` from the window's device corner, its size scaled on its own.
QRect deviceGrabRect(const QRect& logicalRect, QPoint windowLogical, QPoint windowDevice, double ratio);

// What the main window takes from a grab of a selection frame of `s1Size` (twips) whose picture has
// `pictureSize` pixels at `pictureTwips` per pixel.
SelectionGrabGeometry selectionGrabGeometry(QSize s1Size, QSize pictureSize, Twips pictureTwips);

// Outer window length for the defined-size dialog: the margin plus `pixels` picture pixels plus s1's
// two border pixels of the window. Unchecked, as typed: the overlay clamps what it is given.
double definedSizeLength(int marginTwips, double pixels, double pictureTwipsPerPixel, int twipsPerPixel);

// A wanted window length in twips as whole pixels, never below the overlay's minimum nor beyond
// `largestPixels`, whatever the number (negative, huge, infinite, NaN).
int overlayLengthPixels(double wantedTwips, int minimumTwips, int largestPixels, int twipsPerPixel);

// Smallest whole number of pixels that covers `twipsLength`.
int pixelsCovering(int twipsLength, int twipsPerPixel);

// The top-left corner that puts a window of `size` in the middle of `area` (a monitor).
QPoint centredIn(const QRect& area, QSize size);

// Each of left, top, width and height converted on its own, halves to even.
QRect twipsToPixels(const QRect& twipsRect, Twips twips);

} // namespace quorvex
