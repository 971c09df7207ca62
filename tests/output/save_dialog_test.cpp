#include "output/qt_save_file_dialog.h"
#include "output/save_dialog.h"

#include "fakes.h"

#include <gtest/gtest.h>

using namespace quorvex;
using testsupport::ChosenPathDialog;

TEST(ShowSaveFileDialog, PassesItsArgumentsAndReturnsTheChoiceOrEmptiesThemOnCancel)
{
    ChosenPathDialog dialog(QStringLiteral("/tmp/pictures/shot.JPG"), 2);
    QString fileName = QStringLiteral("start"), fileTitle, filter = QStringLiteral("B|*.b|J|*.j");
    int filterIndex = 1, flags = 0x20;
    EXPECT_TRUE(ShowSaveFileDialog(dialog, fileName, fileTitle, true, filter, filterIndex,
        QStringLiteral("/tmp"), QStringLiteral("Save"), QStringLiteral("JPG"), nullptr, flags));
    ASSERT_EQ(dialog.requests.size(), 1);
    const SaveFileDialog::Request& request = dialog.requests.first();
    EXPECT_EQ(request.fileName, QStringLiteral("start"));
    EXPECT_EQ(request.filters, (QList<FilterPair>{{"B", "*.b"}, {"J", "*.j"}}));
    EXPECT_EQ(request.defaultSuffix, QStringLiteral("JPG"));
    EXPECT_EQ(qtNameFilter({"Pictures", "*.bmp;*.jpg"}), QStringLiteral("Pictures (*.bmp *.jpg)"));
    EXPECT_EQ(fileName, QStringLiteral("/tmp/pictures/shot.JPG"));
    EXPECT_EQ(fileTitle, QStringLiteral("shot.JPG"));
    EXPECT_EQ(filterIndex, 2);
    EXPECT_EQ(flags, 0x6); // the hook cleared, read-only hidden

    dialog.path.reset();
    EXPECT_FALSE(ShowSaveFileDialog(dialog, fileName, fileTitle, true, filter, filterIndex, QString(),
        QString(), QStringLiteral("JPG"), nullptr, flags));
    EXPECT_TRUE(fileName.isEmpty() && fileTitle.isEmpty() && filter.isEmpty());
    EXPECT_EQ(filterIndex, 0);
}
