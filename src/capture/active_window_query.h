#pragma once

#include <QSize>
#include <qwindowdefs.h>

namespace quorvex {

// A window of the desktop and its size; window 0 when there is none.
struct ActiveWindow {
    WId window = 0;
    QSize size;
};

// Which window the desktop reports as active. One implementation per display system.
class ActiveWindowQuery {
public:
    virtual ~ActiveWindowQuery() = default;
    // None when the desktop does not say.
    virtual ActiveWindow activeWindow() = 0;
};

} // namespace quorvex
