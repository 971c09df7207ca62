#pragma once

class QWidget;

namespace quorvex {

// Lets events run once, then until `window` is on the screen (at most a second): a window shown
// comes back from the display's side a moment later, placed by the window manager where there is one.
void waitUntilExposed(QWidget& window);

} // namespace quorvex
