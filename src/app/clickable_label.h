#pragma once

#include <QLabel>

class QAction;

namespace quorvex {

// A label that reports a click (press and release of the left button inside it).
class ClickableLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

    // Makes the label a toolbar item of `action`: a click triggers it, and the label follows its
    // enabled state and shows its tip.
    void showAction(QAction* action);

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool m_pressed = false;
};

} // namespace quorvex
