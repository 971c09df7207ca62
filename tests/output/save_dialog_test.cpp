#include "output/qt_save_file_dialog.h"
#include "output/save_dialog.h"

#include "output_fakes.h"

#include <gtest/gtest.h>

using namespace quorvex;
using outputtest::ChosenPathDialog;

namespace {

const QChar nul(0);

QString withNuls(const char* text)
{
    return QString::fromLatin1(text).replace(QLatin1Char('~'), nul);
}

} // namespace

TEST(SaveDialogText, FilterSeparatorsBecomeNulsAndTwoNulsEndItTrimmedAtTheFirstNul)
{
    EXPECT_EQ(TrimAtNull(withNuls("a~b~")), QStringLiteral("a"));
    EXPECT_EQ(TrimAtNull(withNuls("~abc")), QString());
    EXPECT_EQ(TrimAtNull(QStringLiteral("no nul")), QStringLiteral("no nul"));

    const struct {
        const char* filter;
        const char* converted;
    } cases[] = {
        {"BMP Files (*.BMP)|*.BMP|JPEG Files (*.JPG)|*.JPG",
            "BMP Files (*.BMP)~*.BMP~JPEG Files (*.JPG)~*.JPG~~"},
        {"Pictures: all|*.bmp;*.jpg", "Pictures~ all~*.bmp;*.jpg~~"},
        {"", "~~"},
        {"||", "~~~~"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(convertFilter(QString::fromLatin1(c.filter)), withNuls(c.converted)) << c.filter;
}

TEST(SaveDialogText, GetFilterPairFindsThePairByItsIndex)
{
    const QString twoPairs
        = convertFilter(QStringLiteral("BMP Files (*.BMP)|*.BMP|JPEG Files (*.JPG)|*.JPG"));
    const QString colon = convertFilter(QStringLiteral("Pictures: all|*.bmp"));
    const struct {
        const QString& filter;
        int index;
        QString pair;
    } cases[] = {
        {twoPairs, 1, withNuls("BMP Files (*.BMP)~*.BMP")},
        {twoPairs, 2, withNuls("JPEG Files (*.JPG)~*.JPG")},
        {twoPairs, 3, QString()},
        {twoPairs, 0, QString()},
        {colon, 1, withNuls("Pictures~ all")}, // ":" split the description
        {colon, 2, withNuls("*.bmp~")}, // the pattern became a description with an empty pattern
        {withNuls("A~a"), 1, withNuls("A~a")}, // a pattern that runs to the end
        {withNuls("no separator"), 1, QString()},
    };
    for (const auto& c : cases)
        EXPECT_EQ(GetFilterPair(c.filter, c.index), c.pair) << c.index;
}

TEST(SaveDialogText, QtNameFiltersCarryThePairsPatterns)
{
    EXPECT_TRUE(filterPairs(convertFilter(QString())).isEmpty());
    EXPECT_EQ(qtNameFilter({"BMP Files (*.BMP)", "*.BMP"}), QStringLiteral("BMP Files (*.BMP)"));
    EXPECT_EQ(qtNameFilter({"Pictures", "*.bmp;*.jpg"}), QStringLiteral("Pictures (*.bmp *.jpg)"));
    EXPECT_EQ(qtNameFilter({"Old (*.x)", "*.y"}), QStringLiteral("Old (*.y)"));
}

TEST(ShowSaveFileDialog, PassesItsArgumentsAndReturnsTheChoice)
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
    EXPECT_EQ(request.filterIndex, 1);
    EXPECT_EQ(request.initialDir, QStringLiteral("/tmp"));
    EXPECT_EQ(request.title, QStringLiteral("Save"));
    EXPECT_EQ(request.defaultSuffix, QStringLiteral("JPG"));
    EXPECT_EQ(request.flags, 0x6);

    EXPECT_EQ(fileName, QStringLiteral("/tmp/pictures/shot.JPG"));
    EXPECT_EQ(fileTitle, QStringLiteral("shot.JPG"));
    EXPECT_EQ(filterIndex, 2);
    EXPECT_EQ(filter, withNuls("J~*.j"));
    EXPECT_EQ(flags, 0x6); // the hook cleared, read-only hidden
    EXPECT_EQ(dialogFlags(0, false), 0x4);
    EXPECT_EQ(dialogFlags(0x20 | 0x40 | 0x1000, false), 0x1004); // the template too
}

TEST(ShowSaveFileDialog, CancelEmptiesTheInOutArguments)
{
    ChosenPathDialog dialog(std::nullopt);
    QString fileName = QStringLiteral("start"), fileTitle = QStringLiteral("t"),
            filter = QStringLiteral("B|*.b");
    int filterIndex = 1, flags = 0x6;
    EXPECT_FALSE(ShowSaveFileDialog(dialog, fileName, fileTitle, true, filter, filterIndex, QString(),
        QString(), QStringLiteral("JPG"), nullptr, flags));
    EXPECT_EQ(dialog.requests.size(), 1);
    EXPECT_TRUE(fileName.isEmpty());
    EXPECT_TRUE(fileTitle.isEmpty());
    EXPECT_TRUE(filter.isEmpty());
    EXPECT_EQ(filterIndex, 0);
    EXPECT_EQ(flags, 0);
}
