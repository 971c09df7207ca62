#pragma once

#include "capture/screen_source.h"
#include "common/numeric.h"

#include <QSizeF>

class QWidget;

namespace quorvex {

// Pixel rectangle of the whole screen from its size in twips: each side \ twips per pixel.
QRect screenGrabRect(QSizeF screenTwips, const Twips& twips);

// The public capture functions of the main window; none of them places the picture anywhere.
QImage captureWholeScreen(ScreenSource& screen, QSizeF screenTwips, const Twips& twips);
// The form's outer window, frame included.
QImage captureForm(ScreenSource& screen, const QWidget& form);
// The form's client area at its inner size.
QImage captureClient(ScreenSource& screen, const QWidget& form);

// The window the desktop reports as active (_NET_ACTIVE_WINDOW on X11; our own focused window
// elsewhere), whole, at its size. Empty when there is none.
QImage captureActiveWindow(ScreenSource& screen);

} // namespace quorvex
