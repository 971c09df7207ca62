#pragma once

#include "common/numeric.h"

#include <QFrame>

class QLabel;
class QPushButton;

namespace quorvex {

class ClickableLabel;

// The about box Frame1: texts, the "Like Quorvex7 ?" link and the "X" button that hides it.
class AboutBox : public QFrame {
    Q_OBJECT
public:
    AboutBox(const Twips& twips, QWidget* parent);

    QLabel* Label1;
    QLabel* Label4;
    QLabel* Label2;
    QLabel* Label8;
    ClickableLabel* Label18;
    QPushButton* Command1;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Twips m_twips;
};

} // namespace quorvex
