#pragma once

#include <QString>

namespace quorvex {

inline const QString kProgramTitle = QStringLiteral("Quorvex7");

enum class MessageIcon { None, Information, Exclamation, Critical };

// One message box with an OK button. Every message of the program goes through MessageBoxes, so
// tests can record what would have been shown instead of blocking on a dialog.
struct Message {
    QString text;
    MessageIcon icon = MessageIcon::None;
    QString caption = kProgramTitle;

    bool operator==(const Message&) const = default;
};

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    virtual void show(const Message& message) = 0;
};

} // namespace quorvex
