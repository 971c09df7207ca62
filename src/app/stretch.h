#pragma once

#include <QString>
#include <Qt>

namespace quorvex {

class PictureBox;

// Stretching pic1 by dragging just outside its right edge, its bottom edge or its corner.
enum class StretchMode { None, Horizontal, Vertical, Proportional };

struct BoxTwips {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
};

// Which zone the pointer (x, y, twips in the window) is in: the right strip R <= x < R + 150, the
// bottom strip B <= y < B + 150 within the spans, the corner where either meets the last 200 twips
// of the box. The bottom strip wins over the right one, the corner over both.
StretchMode stretchZone(const BoxTwips& box, double x, double y);

Qt::CursorShape stretchCursor(StretchMode mode);
// Hint for the tips box; empty for None (the box is hidden then).
QString stretchHint(StretchMode mode);

// One drag step: the box's width and/or height follow the pointer; a refused size falls back to the
// box's position plus 50 twips; a step that fails is skipped and the next one runs. The
// proportional mode keeps the last grab's proportions in whole percent of the grab width.
void applyStretchDrag(PictureBox& box, StretchMode mode, double x, double y, int grabWidth, int grabHeight);

} // namespace quorvex
