#pragma once

#include "capture/screen_source.h"
#include "capture/window_source.h"
#include "common/numeric.h"

#include <QSizeF>

class QWidget;

namespace quorvex {

// The public capture functions of the main window; none of them places the picture anywhere. Empty
// where nothing was read.
QImage captureWholeScreen(ScreenSource& screen, QSizeF screenTwips, const Twips& twips);
// The form's outer window, frame included.
QImage captureForm(WindowSource& windows, const QWidget& form);
// The form's client area at its inner size.
QImage captureClient(WindowSource& windows, const QWidget& form);

// The window the desktop reports as active (our own focused window when it reports none), whole,
// at its size. Empty when there is none.
QImage captureActiveWindow(WindowSource& windows);

} // namespace quorvex
