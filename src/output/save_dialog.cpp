#include "output/save_dialog.h"

#include <QFileInfo>

namespace quorvex {

QString TrimAtNull(const QString& text)
{
    const qsizetype end = text.indexOf(QChar(0));
    return end < 0 ? text : text.left(end);
}

QString convertFilter(const QString& filter)
{
    QString converted = filter;
    for (QChar& c : converted)
        if (c == QLatin1Char('|') || c == QLatin1Char(':'))
            c = QChar(0);
    converted += QChar(0);
    converted += QChar(0);
    return converted;
}

QString GetFilterPair(const QString& convertedFilter, int index)
{
    qsizetype start = 0;
    while (start < convertedFilter.size()) {
        const qsizetype descriptionEnd = convertedFilter.indexOf(QChar(0), start);
        if (descriptionEnd <= start)
            return {};
        qsizetype patternEnd = convertedFilter.indexOf(QChar(0), descriptionEnd + 1);
        if (patternEnd < 0)
            patternEnd = convertedFilter.size();
        if (index == 1)
            return convertedFilter.mid(start, patternEnd - start);
        start = patternEnd + 1;
        --index;
    }
    return {};
}

QList<FilterPair> filterPairs(const QString& convertedFilter)
{
    QList<FilterPair> pairs;
    for (int index = 1;; ++index) {
        const QString pair = GetFilterPair(convertedFilter, index);
        if (pair.isEmpty())
            return pairs;
        const qsizetype separator = pair.indexOf(QChar(0));
        pairs.append({pair.left(separator), pair.mid(separator + 1)});
    }
}

int dialogFlags(int flags, bool overwritePrompt)
{
    int result = (flags & ~(kOfnEnableHook | kOfnEnableTemplate)) | kOfnHideReadOnly;
    if (overwritePrompt)
        result |= kOfnOverwritePrompt;
    return result;
}

bool ShowSaveFileDialog(SaveFileDialog& dialog, QString& fileName, QString& fileTitle, bool overwritePrompt,
    QString& filter, int& filterIndex, const QString& initialDir, const QString& dialogTitle,
    const QString& defaultExt, QWidget* owner, int& flags)
{
    const QString converted = convertFilter(filter);
    const SaveFileDialog::Request request{TrimAtNull(fileName), filterPairs(converted), filterIndex,
        initialDir, dialogTitle, defaultExt, dialogFlags(flags, overwritePrompt), owner};
    const std::optional<SaveFileDialog::Answer> answer = dialog.exec(request);
    if (!answer || TrimAtNull(answer->path).isEmpty()) {
        fileName.clear();
        fileTitle.clear();
        filter.clear();
        filterIndex = 0;
        flags = 0;
        return false;
    }
    fileName = TrimAtNull(answer->path);
    fileTitle = QFileInfo(fileName).fileName();
    filterIndex = answer->filterIndex;
    flags = answer->flags;
    filter = GetFilterPair(converted, filterIndex);
    return true;
}

} // namespace quorvex
