#include "capture/digit_key_filter.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpressionValidator>

namespace quorvex {

namespace {

constexpr char16_t kBackspace = 8;
constexpr char16_t kDelete = 0x7F;

bool isClipboardShortcut(const QKeyEvent& event)
{
    return event.matches(QKeySequence::Paste) || event.matches(QKeySequence::Cut)
        || event.matches(QKeySequence::Copy);
}

} // namespace

bool sizeKeyPasses(char16_t code)
{
    return code == kBackspace || (code >= u'0' && code <= u'9');
}

std::optional<char16_t> typedCharacter(const QKeyEvent& event)
{
    const int key = event.key();
    if (key == Qt::Key_Backspace)
        return kBackspace;
    // Tab moves the focus before any character is typed.
    if (key == Qt::Key_Tab || key == Qt::Key_Backtab)
        return std::nullopt;
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    if ((modifiers & Qt::ControlModifier) && !(modifiers & Qt::AltModifier) && key >= Qt::Key_At
        && key <= Qt::Key_Underscore)
        return static_cast<char16_t>(key - Qt::Key_At); // Ctrl+A is 1, Ctrl+V 22
    const QString text = event.text();
    if (text.isEmpty() || text.front().unicode() == kDelete)
        return std::nullopt;
    return text.front().unicode();
}

DigitKeyFilter::DigitKeyFilter(QLineEdit* edit)
    : QObject(edit)
{
    edit->installEventFilter(this);
    edit->setContextMenuPolicy(Qt::NoContextMenu);
    edit->setAcceptDrops(false);
    edit->setInputMethodHints(Qt::ImhDigitsOnly);
    edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit));
}

bool DigitKeyFilter::eventFilter(QObject*, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress: {
        const auto& key = *static_cast<QKeyEvent*>(event);
        if (isClipboardShortcut(key))
            return true;
        const std::optional<char16_t> code = typedCharacter(key);
        return code && !sizeKeyPasses(*code);
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
        // The middle button pastes X11's selection.
        return static_cast<QMouseEvent*>(event)->button() == Qt::MiddleButton;
    default:
        return false;
    }
}

} // namespace quorvex
