#pragma once

#include "app/picture_box.h"

#include <QString>

namespace quorvex {

enum class ResizeResult { Done, NoPicture, Refused };

// The main window's picture boxes and the shared state around them, without any widget:
// pic1 (the view), pSize (the held copy, base of every zoom), pb (the grab copy), picImageEffect
// (scratch of the rotation), the last grab's size and the window title.
class PictureViewState {
public:
    explicit PictureViewState(Twips twips);

    PictureBox pic1;
    PictureBox pSize;
    PictureBox pb;
    PictureBox picImageEffect;
    int GrabWidth = 0;
    int GrabHeight = 0;
    QString title;

    const Twips& twips() const { return m_twips; }

    // pic1's picture := its surface image, then the held copy := the same image.
    void commit();
    // After a grab: the surface becomes the picture, and the grab copy and held copy get it too.
    void keepGrab();

    ResizeResult ZoomByPercent(int percent, bool enlarge);
    // Redraws the held copy stretched over pic1's new inner area (outer size in twips). A size
    // that would leave less than one pixel or more than the view accepts is refused: picture,
    // held copy, geometry and title stay as they were.
    ResizeResult ResizePicture(int width, int height);
    void Reset();
    void Clear();

    // Title in whole pixels of pic1's outer size.
    void setWholePixelTitle();

private:
    Twips m_twips;
};

} // namespace quorvex
