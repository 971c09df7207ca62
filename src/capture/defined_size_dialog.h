#pragma once

#include "common/numeric.h"

#include <QDialog>
#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;

namespace quorvex {

class Form2;

// The defined-size dialog: asks for the size in pixels of the area to grab and gives the selection
// overlay exactly the size whose selection frame holds that many pixels inside its border; the
// overlay's resize rule then grabs. Modal. Every opening starts from "100" and "100".
class Form3 final : public QDialog {
    Q_OBJECT
public:
    // Returns the overlay, loading it (and so showing it) on first use.
    using OverlayProvider = std::function<Form2*()>;

    explicit Form3(OverlayProvider overlay, Twips twips, QWidget* parent = nullptr);

    // Closing by OK, Cancel or the close box is the dialog's unload: its texts go back to the design.
    void done(int result) override;

protected:
    // There is no default and no cancel button: Enter and Escape do nothing of their own.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void onOk();
    void restoreDesignTexts();

    OverlayProvider m_overlay;
    const Twips m_twips;
    QLineEdit* Text1;
    QLineEdit* Text2;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QPushButton* Command1;
    QPushButton* Command2;
};

} // namespace quorvex
