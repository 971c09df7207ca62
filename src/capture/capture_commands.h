#pragma once

#include "capture/active_window_query.h"
#include "capture/screen_source.h"
#include "common/numeric.h"

#include <QSizeF>

class QWidget;

namespace quorvex {

// The public capture functions of the main window; none of them places the picture anywhere.
QImage captureWholeScreen(ScreenSource& screen, QSizeF screenTwips, const Twips& twips);
// The form's outer window, frame included.
QImage captureForm(ScreenSource& screen, const QWidget& form);
// The form's client area at its inner size.
QImage captureClient(ScreenSource& screen, const QWidget& form);

// The window the desktop reports as active (our own focused window when it reports none), whole,
// at its size. Empty when there is none.
QImage captureActiveWindow(ScreenSource& screen, ActiveWindowQuery& query);

} // namespace quorvex
