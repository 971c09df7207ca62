#pragma once

class QWidget;

namespace quorvex {

class MessageBoxes;
class PictureClipboard;
class PictureViewState;
class Printer;
class SaveFileDialog;

// Save As, the clipboard and printing: each hands pic1's picture to the output library, and says so
// when there is no picture yet.
class PictureOutput {
public:
    PictureOutput(PictureViewState& state, MessageBoxes& messages, SaveFileDialog& saveDialog,
        Printer& printer, PictureClipboard& clipboard)
        : m_state(state)
        , m_messages(messages)
        , m_saveDialog(saveDialog)
        , m_printer(printer)
        , m_clipboard(clipboard)
    {
    }

    void SaveGrabbedImage(QWidget* owner);
    void saveToClipboard();
    void printNormal();
    void printToFit();

private:
    // False, after telling the user, when there is no picture to work on yet.
    bool hasPictureToOutput();

    PictureViewState& m_state;
    MessageBoxes& m_messages;
    SaveFileDialog& m_saveDialog;
    Printer& m_printer; // lives as long as the window: a page-fit print's orientation stays for later prints
    PictureClipboard& m_clipboard;
};

} // namespace quorvex
