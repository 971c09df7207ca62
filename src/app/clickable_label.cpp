#include "app/clickable_label.h"

#include <QAction>
#include <QMouseEvent>

namespace quorvex {

void ClickableLabel::showAction(QAction* action)
{
    connect(this, &ClickableLabel::clicked, action, &QAction::trigger);
    const auto follow = [this, action] {
        setEnabled(action->isEnabled());
        // An action without a tip of its own offers its caption as one; the item shows none then.
        const bool ownTip = action->toolTip() != QString(action->text()).remove(QLatin1Char('&'));
        setToolTip(ownTip ? action->toolTip() : QString());
    };
    connect(action, &QAction::changed, this, follow);
    follow();
}

void ClickableLabel::mousePressEvent(QMouseEvent* event)
{
    m_pressed = event->button() == Qt::LeftButton;
    QLabel::mousePressEvent(event);
}

void ClickableLabel::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click
        = m_pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    m_pressed = false;
    QLabel::mouseReleaseEvent(event);
    if (click)
        emit clicked();
}

} // namespace quorvex
