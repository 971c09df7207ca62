#pragma once

#include "common/numeric.h"

#include <QFrame>
#include <QPointer>

class QLabel;
class QPushButton;

namespace quorvex {

class ClickableLabel;

// The about box Frame1: texts, the "Like Quorvex7 ?" link and the "X" button that hides it.
class AboutBox : public QFrame {
    Q_OBJECT
public:
    AboutBox(const Twips& twips, QWidget* parent);
    ~AboutBox() override;

    // About: the box at its shown size, above the other controls.
    void showBox();

signals:
    // The "Like Quorvex7 ?" link.
    void optionsPageAsked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    void followPalette();
    void placeButton();

    Twips m_twips;
    QLabel* Label1;
    QLabel* Label4;
    QLabel* Label2;
    QLabel* Label8;
    ClickableLabel* Label18;
    QPointer<QPushButton> Command1; // a sibling of the box, above it
};

} // namespace quorvex
