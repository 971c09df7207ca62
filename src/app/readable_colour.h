#pragma once

#include <QColor>

namespace quorvex {

// Contrast ratio of two colours as (L1 + 0.05) / (L2 + 0.05) of their relative luminances: 1 for
// the same colour, 21 for black on white.
double contrastRatio(const QColor& a, const QColor& b);

// Text and lines at this ratio or more stay legible on their background.
inline constexpr double kLegibleContrast = 4.5;

// `wanted` where it stands out from `background`; otherwise black or white, whichever stands out
// more. A surface whose colour the design fixes keeps its text legible under any desktop theme.
QColor readableOn(const QColor& wanted, const QColor& background);

} // namespace quorvex
