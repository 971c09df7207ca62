#pragma once

#include "app/picture_box.h"
#include "app/stretch.h"
#include "capture/selection_grab_receiver.h"
#include "transform/mirror.h"

#include <QSizeF>
#include <QString>
#include <functional>

namespace quorvex {

enum class ResizeResult { Done, NoPicture, Refused };
enum class TurnResult { Done, NoPicture, Failed };

// The main window's picture boxes and the shared state around them, without any widget:
// pic1 (the view), pSize (the held copy, base of every zoom), pb (the grab copy), picImageEffect
// (scratch of the rotation), the last grab's size and the window title. Every command that changes
// them is a method here; the window only shows the result.
class PictureViewState {
public:
    explicit PictureViewState(Twips twips);

    const PictureBox& view() const { return pic1; }
    const PictureBox& heldCopy() const { return pSize; }
    const PictureBox& grabCopy() const { return pb; }
    int grabWidth() const { return GrabWidth; }
    int grabHeight() const { return GrabHeight; }
    const QString& title() const { return m_title; }
    // Twips per picture pixel, which is a device pixel of the screen.
    const Twips& twips() const { return m_twips; }

    // The whole-screen grab: first pic1 takes the screen's size and place, then the picture.
    void placeForWholeScreen(QSizeF screenTwips);
    void keepWholeScreenGrab(const QImage& picture);
    // A grab through the overlay, its sequence as SelectionGrabReceiver gives it.
    void acceptSelectionGrab(const QImage& picture, const SelectionGrabGeometry& g);

    ResizeResult ZoomByPercent(int percent, bool enlarge);
    // Redraws the held copy stretched over pic1's new inner area (outer size in twips). A size
    // that would leave less than one pixel or more than the view accepts is refused: picture,
    // held copy, geometry and title stay as they were.
    ResizeResult ResizePicture(int width, int height);
    void Reset();
    void Clear();

    // Mirrors and turns of pic1's picture; the title never changes. A turn shows its progress: pic1's
    // surface holds what is painted so far when `repaint` runs.
    TurnResult mirror(MirrorKind kind);
    TurnResult RotateByAngle(qint16 angle, const std::function<void()>& repaint);

    // Panning moves pic1 by twips; stretching sizes it while the button is held, and the release
    // redraws the held copy at that size.
    void moveViewBy(double dx, double dy);
    void stretchTo(StretchMode mode, double x, double y);
    ResizeResult finishStretch();

    // Save As makes the image of pic1's surface its committed picture before it writes a JPEG.
    void replaceViewPicture(const QImage& picture) { pic1.setPicture(picture); }

private:
    // pic1's picture := its surface image, then the held copy := the same image.
    void commit();
    // After a grab: the surface becomes the picture, and the grab copy and held copy get it too.
    void keepGrab();
    void placeAtGrabPosition();
    void setWholePixelTitle();

    Twips m_twips;
    PictureBox pic1;
    PictureBox pSize;
    PictureBox pb;
    PictureBox picImageEffect;
    int GrabWidth = 0;
    int GrabHeight = 0;
    QString m_title;
};

} // namespace quorvex
