#pragma once

#include "common/numeric.h"

#include <QFrame>

class QLabel;

namespace quorvex {

class ClickableLabel;

// The toolbar strip Frame2 across the top of the client area, with the tips box frmTips inside.
class Toolbar : public QFrame {
    Q_OBJECT
public:
    Toolbar(const Twips& twips, QWidget* parent);

    ClickableLabel* Image1; // Exit
    QLabel* Label15;
    ClickableLabel* Image2; // Save
    ClickableLabel* Label16; // Select area
    ClickableLabel* Label17; // Whole screen
    ClickableLabel* Image4; // Clear
    ClickableLabel* Image7; // Turn
    ClickableLabel* Image6; // About
    QFrame* frmTips;
    QLabel* lblTips;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Twips m_twips;
};

} // namespace quorvex
