#pragma once

#include <QObject>
#include <optional>

class QKeyEvent;
class QLineEdit;

namespace quorvex {

// The rule of the defined-size dialog's Text1 for one typed character code: Backspace (8) and the
// digits 0 to 9 pass, every other character (control characters included) is discarded.
bool sizeKeyPasses(char16_t code);

// The character code a key press types, as the rule sees it: Ctrl with a letter types its control
// character (Ctrl+V is 22). Keys that type nothing (arrows, Home, End, Delete, Tab, Shift) give none
// and are left to the text box.
std::optional<char16_t> typedCharacter(const QKeyEvent& event);

// Keeps everything but digits out of a text box: typed keys through sizeKeyPasses(), and the
// clipboard's ways in (shortcuts of every platform style, the context menu, the X11 middle-button
// paste, drag and drop) closed, with a digits-only validator behind them for input methods.
class DigitKeyFilter final : public QObject {
public:
    // Installs itself on `edit` (its parent) and closes the other ways in.
    explicit DigitKeyFilter(QLineEdit* edit);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace quorvex
