#pragma once

#include "common/numeric.h"

#include <QImage>
#include <QString>

namespace quorvex {

// What one selection grab means for the main window's picture view, in twips.
struct SelectionGrabGeometry {
    double pictureWidth
        = 0; // pic1's new outer width: the picture's (s1 less its border, which is off from now on)
    double pictureHeight = 0;
    int grabWidth = 0; // GrabWidth: the selection frame's width, 2 pixels more than the picture
    int grabHeight = 0;
    float titleWidth = 0; // pictureWidth / twips per pixel in single precision, as the title shows it
    float titleHeight = 0;

    bool operator==(const SelectionGrabGeometry&) const = default;
};

// Receives each grab the selection overlay takes; the main window implements it. Called on the UI
// thread while the overlay's hatch and border are still off; the overlay switches them back on after
// the call returns.
class SelectionGrabReceiver {
public:
    virtual ~SelectionGrabReceiver() = default;

    // TPPX/TPPY: twips per pixel of the pictures it holds. The overlay counts its grabs in these,
    // so a grab keeps every pixel where the overlay's output is scaled unlike the main window's.
    virtual Twips pictureTwips() const = 0;

    // In this order: pic1's border off for good; pic1's picture := picture; window state normal;
    // pic1 Top 600, Left 240; pic1 size := g.pictureWidth x g.pictureHeight; title "Quorvex7 - ("
    // formatSingle(g.titleWidth) "x" formatSingle(g.titleHeight) ")"; pic1 shown;
    // GrabWidth/GrabHeight := g.grabWidth/g.grabHeight; commit pic1, then pb and pSize get copies.
    // `picture` is Format_RGB32, (g.pictureWidth / TPPX) x (g.pictureHeight / TPPY) pixels.
    virtual void acceptSelectionGrab(const QImage& picture, const SelectionGrabGeometry& g) = 0;
    // A grab that read nothing, and why (a desktop portal that refused or did not answer); the
    // overlay has closed, the picture stays as it was.
    virtual void selectionGrabFailed(const QString& reason) { Q_UNUSED(reason); }
};

} // namespace quorvex
