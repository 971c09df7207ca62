#pragma once

#include <Qt>

namespace quorvex {

// Dialog windows (the defined-size dialog, message boxes) have a title and a close button only:
// no minimise or maximise button, whatever the window system would add by default.
inline constexpr Qt::WindowFlags kDialogWindowFlags
    = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;

} // namespace quorvex
