#pragma once

#include "common/numeric.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QWidget>

namespace testsupport {

// The tests' screens run at 96 dpi: 15 twips a pixel each way.
inline constexpr quorvex::Twips k96Dpi{15, 15};

// A mouse event at `pos` in `widget`'s coordinates, delivered at once.
inline void sendMouse(
    QWidget* widget, QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons buttons)
{
    QMouseEvent event(type, QPointF(pos), widget->mapToGlobal(QPointF(pos)), button, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}

} // namespace testsupport
