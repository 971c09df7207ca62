#include "output/save_as.h"

#include "output/safe_file_replace.h"

#include "fakes.h"
#include "file_test_helpers.h"
#include "test_images.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace quorvex;
using namespace outputtest;
using testsupport::asymmetricPattern;
using testsupport::ChosenPathDialog;
using testsupport::differenceBetween;
using testsupport::RecordingMessageBoxes;

namespace {

// pic1 as Save As sees it: a drawing surface and a picture that a JPEG save replaces.
struct FakePictureView {
    QImage surface = asymmetricPattern(23, 17);
    QList<QImage> replacedWith;

    PictureViewAccess access()
    {
        return {[this] { return surface; }, [this](const QImage& image) { replacedWith.append(image); }};
    }
};

class SaveGrabbedImageTest : public ::testing::Test {
protected:
    QString path(const QString& name) const { return dir.filePath(name); }

    void save(std::optional<QString> chosen)
    {
        ChosenPathDialog dialog(std::move(chosen));
        SaveGrabbedImage(dialog, messages, nullptr, view.access());
        requests = dialog.requests;
    }

    QTemporaryDir dir;
    FakePictureView view;
    RecordingMessageBoxes messages;
    QList<SaveFileDialog::Request> requests;
};

} // namespace

// BMP names write the surface exactly (the main window's test checks that) and leave the picture.
TEST_F(SaveGrabbedImageTest, BmpNamesLeaveThePictureAndJpgNamesReplaceIt)
{
    save(path("SHOT.Bmp"));
    EXPECT_TRUE(QFile::exists(path("SHOT.Bmp")));
    EXPECT_TRUE(view.replacedWith.isEmpty());

    view.surface = QImage(64, 32, QImage::Format_RGB32);
    view.surface.fill(qRgb(200, 40, 90));
    save(path("SHOT.JPG"));
    const QImage decoded = decodeJpeg(readAll(path("SHOT.JPG")));
    ASSERT_EQ(decoded.size(), view.surface.size());
    EXPECT_LT(meanDistance(decoded, view.surface), 3.0);
    ASSERT_EQ(view.replacedWith.size(), 1);
    EXPECT_EQ(differenceBetween(view.replacedWith.first(), view.surface), QString());
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(SaveGrabbedImageTest, CancelAndOtherEndingsWriteNothing)
{
    save(std::nullopt);
    EXPECT_EQ(requests.size(), 1);
    EXPECT_TRUE(messages.shown.isEmpty());
    save(path("shot.jpeg"));
    EXPECT_EQ(strayFiles(dir.path(), {}), QStringList());
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_EQ(messages.shown.first().text,
        "Nothing was saved to '" + path("shot.jpeg") + "': only names ending in BMP or JPG can be written.");
    EXPECT_TRUE(view.replacedWith.isEmpty());
}

TEST_F(SaveGrabbedImageTest, FailedWritesWarnAndKeepTheOldFile)
{
    ASSERT_TRUE(writeFile(path("kept.bmp"), "old bmp"));
    ASSERT_TRUE(writeFile(path("kept.jpg"), "old jpg"));
    const struct {
        const char* what;
        QString name;
        rlim_t sizeLimit;
        bool emptySurface;
    } cases[] = {
        {"bmp past the size limit", "kept.bmp", 512, false},
        {"jpg past the size limit", "kept.jpg", 512, false},
        {"jpg of nothing", "kept.jpg", RLIM_INFINITY, true},
    };
    for (const auto& c : cases) {
        messages.shown.clear();
        view.surface = c.emptySurface ? QImage() : asymmetricPattern(200, 100);
        {
            const testsupport::ResourceLimit limit(RLIMIT_FSIZE, c.sizeLimit);
            save(path(c.name));
        }
        ASSERT_EQ(messages.shown.size(), 1) << c.what;
        EXPECT_EQ(messages.shown.first(),
            (Message{"Failed to save the picture to the file: '" + path(c.name) + "'",
                MessageIcon::Exclamation, "Quorvex7"}))
            << c.what;
        EXPECT_EQ(readAll(path("kept.bmp")), QByteArray("old bmp")) << c.what;
        EXPECT_EQ(readAll(path("kept.jpg")), QByteArray("old jpg")) << c.what;
        EXPECT_EQ(strayFiles(dir.path(), {"kept.bmp", "kept.jpg"}), QStringList()) << c.what;
    }
}

TEST_F(SaveGrabbedImageTest, AReadOnlyFileIsNeverReplacedEvenByRoot)
{
    for (const QString name : {"kept.bmp", "kept.jpg"}) {
        ASSERT_TRUE(writeFile(path(name), "the user's own file"));
        ASSERT_EQ(::chmod(QFile::encodeName(path(name)).constData(), 0444), 0);
        messages.shown.clear();
        save(path(name));
        const Message refused{
            "Failed to save the picture to the file: '" + path(name) + "': the file is read-only",
            MessageIcon::Exclamation};
        EXPECT_EQ(messages.shown, QList<Message>{refused});
        EXPECT_TRUE(view.replacedWith.isEmpty()) << "nothing is done before the refusal";
        const FileWriteResult direct
            = replaceFileContents(path(name).toStdString(), {"new"}); // the writers refuse too
        EXPECT_EQ(direct.error, EACCES);
        EXPECT_EQ(direct.message(), "the file is read-only");
        EXPECT_EQ(readAll(path(name)), QByteArray("the user's own file"));
        EXPECT_EQ(statOf(path(name)).st_mode & 07777, 0444u);
    }
    EXPECT_EQ(strayFiles(dir.path(), {"kept.bmp", "kept.jpg"}), QStringList());
}
