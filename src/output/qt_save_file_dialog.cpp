#include "output/qt_save_file_dialog.h"

#include <QFileDialog>
#include <QStringList>

namespace quorvex {

QString qtNameFilter(const FilterPair& pair)
{
    QString description = pair.description.trimmed();
    const qsizetype bracket = description.lastIndexOf(QLatin1Char('('));
    if (bracket >= 0 && description.endsWith(QLatin1Char(')')))
        description = description.left(bracket).trimmed();
    QString patterns = pair.pattern;
    patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
    return description + QStringLiteral(" (") + patterns.simplified() + QLatin1Char(')');
}

std::optional<SaveFileDialog::Answer> QtSaveFileDialog::exec(const Request& request)
{
    QFileDialog dialog(request.owner, request.title, request.initialDir);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !(request.flags & kOfnOverwritePrompt));
    dialog.setDefaultSuffix(request.defaultSuffix);

    QStringList nameFilters;
    for (const FilterPair& pair : request.filters)
        nameFilters.append(qtNameFilter(pair));
    dialog.setNameFilters(nameFilters);
    if (request.filterIndex >= 1 && request.filterIndex <= nameFilters.size())
        dialog.selectNameFilter(nameFilters.at(request.filterIndex - 1));
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);

    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return Answer{dialog.selectedFiles().constFirst(),
        int(nameFilters.indexOf(dialog.selectedNameFilter())) + 1, request.flags};
}

} // namespace quorvex
