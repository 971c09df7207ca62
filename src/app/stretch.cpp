#include "app/stretch.h"

#include "app/picture_box.h"
#include "common/numeric.h"

#include <cstdint>
#include <limits>

namespace quorvex {

StretchMode stretchZone(const BoxTwips& box, double x, double y)
{
    const double right = roundHalfEven(box.left + box.width);
    const double bottom = roundHalfEven(box.top + box.height);
    const bool inHorizontalSpan = box.left < x && x < box.left + box.width + 100;
    const bool inVerticalSpan = box.top < y && y < box.top + box.height + 100;

    StretchMode mode = StretchMode::None;
    if (right <= x && x < right + 150 && inVerticalSpan)
        mode = StretchMode::Horizontal;
    if (bottom <= y && y < bottom + 150 && inHorizontalSpan)
        mode = StretchMode::Vertical;
    if (mode != StretchMode::None && x > box.left + box.width - 200 && y > box.top + box.height - 200)
        mode = StretchMode::Proportional;
    return mode;
}

Qt::CursorShape stretchCursor(StretchMode mode)
{
    switch (mode) {
    case StretchMode::Horizontal:
        return Qt::SizeHorCursor;
    case StretchMode::Vertical:
        return Qt::SizeVerCursor;
    case StretchMode::Proportional:
        return Qt::SizeFDiagCursor;
    case StretchMode::None:
        break;
    }
    return Qt::ArrowCursor;
}

QString stretchHint(StretchMode mode)
{
    switch (mode) {
    case StretchMode::Horizontal:
        return QStringLiteral("Stretch/Size Horizontal");
    case StretchMode::Vertical:
        return QStringLiteral("Stretch/Size vertical");
    case StretchMode::Proportional:
        return QStringLiteral("Size Proportional");
    case StretchMode::None:
        break;
    }
    return {};
}

namespace {

void followHorizontally(PictureBox& box, double x)
{
    if (!box.setWidth(x - box.left()))
        box.setWidth(box.left() + 50);
}

void followVertically(PictureBox& box, double y)
{
    if (!box.setHeight(y - box.top()))
        box.setHeight(box.top() + 50);
}

} // namespace

void applyStretchDrag(PictureBox& box, StretchMode mode, double x, double y, int grabWidth, int grabHeight)
{
    switch (mode) {
    case StretchMode::None:
        return;
    case StretchMode::Horizontal:
        followHorizontally(box, x);
        return;
    case StretchMode::Vertical:
        followVertically(box, y);
        return;
    case StretchMode::Proportional: {
        followHorizontally(box, x);
        const int unit = roundHalfEven(grabWidth / 100.0);
        // A unit of 0 makes the division fail; the percent then stays 0.
        const int percent = unit == 0 ? 0 : roundHalfEven(box.width() / unit);
        const std::int64_t product = static_cast<std::int64_t>(grabHeight) * percent;
        // The product is 32-bit; one that overflows fails and the step is skipped.
        if (product > std::numeric_limits<std::int32_t>::max()
            || product < std::numeric_limits<std::int32_t>::min())
            return;
        box.setHeight(static_cast<float>(product / 100.0));
        return;
    }
    }
}

} // namespace quorvex
