#pragma once

#include <QList>
#include <QString>
#include <optional>

class QWidget;

namespace quorvex {

// One pair of a filter: the text the dialog lists and the patterns (";"-separated) it matches.
struct FilterPair {
    QString description;
    QString pattern;

    bool operator==(const FilterPair&) const = default;
};

// Flags of the save dialog, with the values of the platform record they come from.
inline constexpr int kOfnOverwritePrompt = 0x2;
inline constexpr int kOfnHideReadOnly = 0x4;
inline constexpr int kOfnEnableHook = 0x20;
inline constexpr int kOfnEnableTemplate = 0x40;

// The platform's save-file dialog. Tests stand in one that answers with a chosen path or cancels.
class SaveFileDialog {
public:
    struct Request {
        QString fileName; // shown at first
        QList<FilterPair> filters;
        int filterIndex = 1; // 1-based, the pair selected at first
        QString initialDir; // empty: the platform's default folder
        QString title; // empty: the platform's default caption
        QString defaultSuffix; // appended to a name typed without one
        int flags = 0; // kOfnOverwritePrompt: ask before replacing a file
        QWidget* owner = nullptr;
    };
    struct Answer {
        QString path;
        int filterIndex = 0; // 1-based, the pair selected at the end
        int flags = 0;
    };

    virtual ~SaveFileDialog() = default;
    // The chosen path, or nothing when the user cancelled or the dialog failed.
    virtual std::optional<Answer> exec(const Request& request) = 0;
};

// The text before the first NUL character (all of it when there is none).
QString TrimAtNull(const QString& text);

// The filter text with every "|" and ":" turned into a NUL, and two NULs appended.
QString convertFilter(const QString& filter);

// The index-th pair (1-based) of a converted filter as description, NUL, pattern; empty when there
// is no such pair. An empty description ends the list, as the two closing NULs do.
QString GetFilterPair(const QString& convertedFilter, int index);

// Every pair of a converted filter, in order.
QList<FilterPair> filterPairs(const QString& convertedFilter);

// The dialog's flags: hook and template cleared, read-only box hidden, overwrite prompt on request.
int dialogFlags(int flags, bool overwritePrompt);

// Shows the save dialog. On success fileName is the chosen path, fileTitle its name without the
// folder, filter the chosen pair (description, NUL, pattern), and filterIndex and flags what the
// dialog returned. On cancel or failure all five are emptied or zeroed and the result is false.
// owner nullptr means no owner window.
bool ShowSaveFileDialog(SaveFileDialog& dialog, QString& fileName, QString& fileTitle, bool overwritePrompt,
    QString& filter, int& filterIndex, const QString& initialDir, const QString& dialogTitle,
    const QString& defaultExt, QWidget* owner, int& flags);

} // namespace quorvex
