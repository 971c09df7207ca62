#pragma once

#include "common/numeric.h"

#include <QFrame>

class QLabel;

namespace quorvex {

class ClickableLabel;
struct CommandActions;

// The toolbar strip Frame2 across the top of the client area, with the tips box frmTips inside.
class Toolbar : public QFrame {
    Q_OBJECT
public:
    Toolbar(const Twips& twips, QWidget* parent);

    // Each item triggers its command's action.
    void showActions(const CommandActions& actions);
    // Shows `hint` in the tips box, or hides the box when it is empty.
    void showTip(const QString& hint);
    // The window's background behind the strip, which its text must stand out from.
    void followBackground(const QColor& background);

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void followPalette();

    Twips m_twips;
    QColor m_background = Qt::white;
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
};

} // namespace quorvex
