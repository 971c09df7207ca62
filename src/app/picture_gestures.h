#pragma once

#include "app/picture_view_state.h"
#include "app/stretch.h"

#include <QPointF>

namespace quorvex {

// What the mouse does to the picture view, without widgets: panning pic1 by dragging it, and
// stretching it by dragging beside its edges on the window's own surface. Positions are twips.
class PictureGestures {
public:
    explicit PictureGestures(PictureViewState& state)
        : m_state(state)
    {
    }

    // On pic1, relative to its inner top-left; any button pans, with no threshold and no bound.
    void viewPress(QPointF pos);
    // True when the view moved.
    bool viewMove(QPointF pos);
    void viewRelease() { DragActive = false; }

    // On the window's surface, in its coordinates. A move while no button is held is a hover: it
    // fixes the stretch mode that a press then drags with.
    void surfacePress() { StretchActive = true; }
    // The mode under the pointer after a hover; during a drag, the mode being dragged.
    StretchMode surfaceMove(QPointF pos);
    ResizeResult surfaceRelease();

    bool stretching() const { return StretchActive; }

private:
    PictureViewState& m_state;
    bool DragActive = false;
    int DragStartX = 0;
    int DragStartY = 0;
    bool StretchActive = false;
    StretchMode m_stretchMode = StretchMode::None;
};

} // namespace quorvex
