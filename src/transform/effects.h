#pragma once

#include <QImage>
#include <QtGlobal>
#include <functional>

// The Effects module: turning the picture by an angle, pixel by pixel.
namespace quorvex {

enum class RotateStatus {
    Done,
    OutOfMemory, // the turned picture could not be allocated
    TooLarge, // a centre or radius of the polar mapping would not fit its 16-bit integer
};

// Paints `scratch` turned counter-clockwise on the screen by `angle` degrees into `target`, and
// leaves the angle in radians (single precision) in `angle`.
//
// Exactly 90 and exactly 270 degrees are exact quarter turns: `target` becomes a picture of
// exchanged width and height in the background colour with the turned scratch image drawn from its
// top-left corner (scratch and target have the same size in the program, so it is covered fully),
// and `refreshColumn` runs once at the end.
//
// Every other angle uses the polar mapping: `target` keeps its size, and every pixel of it within
// reach takes the scratch pixel at the turned place; reads outside the scratch image find nothing
// and leave the target pixel as it was. `refreshColumn` runs after each column of the quarter
// square the mapping walks, then once more at the end. Pictures too large for the 16-bit centres
// and radius give TooLarge before anything is painted.
//
// `refreshColumn` may read `target`. A copy it keeps stays as it was, but then every later column
// starts with a full copy of the picture, so repaint from it and let it go.
[[nodiscard]] RotateStatus RotatePixels(const QImage& scratch, QImage& target, float& angle, QRgb background,
    const std::function<void()>& refreshColumn);

// What a turn of the whole picture gives: the new drawing surface, or why there is none.
struct [[nodiscard]] RotateResult {
    QImage surface; // null unless status is Done (or the picture turned was null)
    RotateStatus status = RotateStatus::Done;

    bool ok() const { return status == RotateStatus::Done; }
};

// Turns the image of the picture view's drawing surface by `degrees` onto a fresh surface in the
// `background` colour. `showProgress` is handed the surface as painted so far after each column
// (once, at the end, for quarter turns); repaint from it rather than keep it. On failure the
// surface passed in is all there is: nothing half-turned comes back, so the caller keeps its
// picture as it was.
RotateResult RotatePicture(const QImage& surface, QRgb background, qint16 degrees,
    const std::function<void(const QImage& paintedSoFar)>& showProgress);

// What the user is told when a turn or a mirror fails; the caller shows it.
inline const QString kRotateErrorText = QStringLiteral("Err");

} // namespace quorvex
