#include "output/qt_save_file_dialog.h"

#include <QApplication>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

using namespace quorvex;

namespace {

SaveFileDialog::Request saveRequest(const QString& folder)
{
    SaveFileDialog::Request request;
    request.filters = {{"BMP Files (*.BMP)", "*.BMP"}, {"JPEG Files (*.JPG)", "*.JPG"}};
    request.filterIndex = 1;
    request.initialDir = folder;
    request.defaultSuffix = QStringLiteral("JPG");
    request.flags = kOfnOverwritePrompt | kOfnHideReadOnly;
    return request;
}

// Runs `act` on the file dialog once it is up, as a user would.
void whenTheDialogShows(std::function<void(QFileDialog&)> act)
{
    auto* timer = new QTimer(qApp);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, act] {
        if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
            timer->deleteLater();
            timer->stop();
            act(*dialog);
        }
    });
    timer->start(20);
}

} // namespace

TEST(QtSaveFileDialog, ShowsTheRequestAndAppendsTheDefaultSuffix)
{
    QTemporaryDir dir;
    QStringList filters;
    QString selectedFilter, suffix;
    bool confirmsOverwrite = false;
    whenTheDialogShows([&](QFileDialog& dialog) {
        filters = dialog.nameFilters();
        selectedFilter = dialog.selectedNameFilter();
        suffix = dialog.defaultSuffix();
        confirmsOverwrite = !dialog.testOption(QFileDialog::DontConfirmOverwrite);
        dialog.selectNameFilter(filters.value(1));
        dialog.selectFile(QStringLiteral("shot"));
        static_cast<QDialog&>(dialog).accept(); // QFileDialog::accept, as the Save button runs it
    });
    QtSaveFileDialog dialog;
    const auto answer = dialog.exec(saveRequest(dir.path()));

    EXPECT_EQ(filters, (QStringList{"BMP Files (*.BMP)", "JPEG Files (*.JPG)"}));
    EXPECT_EQ(selectedFilter, QStringLiteral("BMP Files (*.BMP)"));
    EXPECT_EQ(suffix, QStringLiteral("JPG"));
    EXPECT_TRUE(confirmsOverwrite);
    ASSERT_TRUE(answer.has_value());
    EXPECT_EQ(answer->path, dir.filePath(QStringLiteral("shot.JPG")));
    EXPECT_EQ(answer->filterIndex, 2);
    EXPECT_EQ(answer->flags, kOfnOverwritePrompt | kOfnHideReadOnly);
}

TEST(QtSaveFileDialog, CancelAnswersNothing)
{
    QTemporaryDir dir;
    whenTheDialogShows([](QFileDialog& dialog) { dialog.reject(); });
    QtSaveFileDialog dialog;
    EXPECT_FALSE(dialog.exec(saveRequest(dir.path())).has_value());
}
