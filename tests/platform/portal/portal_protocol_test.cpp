#include "platform/portal/portal_picture_file.h"
#include "platform/portal/portal_protocol.h"
#include "test_images.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace quorvex;

// The request path and the answers 0 and 1 are checked against a real and a refusing portal end to end.
TEST(PortalProtocol, FileUrisAndResponses)
{
    const struct {
        const char* uri;
        const char* path;
    } uris[] = {{"file:///tmp/out.png", "/tmp/out.png"},
        {"file:///home/a/Screenshot%20from%201.png", "/home/a/Screenshot from 1.png"},
        {"file://localhost/tmp/x.png", "/tmp/x.png"}, {"file://host/tmp/x.png", ""}, {"https://x/y.png", ""},
        {"file:///tmp/bad%2", ""}, {"file:///tmp/nul%00.png", ""}, {"file:///tmp/%zz", ""}};
    for (const auto& u : uris)
        EXPECT_EQ(pathFromFileUri(u.uri), u.path) << u.uri;
    EXPECT_TRUE(portalResponseFailure(2).starts_with("the desktop portal refused the screenshot (denied)"));
    EXPECT_NE(
        portalResponseFailure(2).find("flatpak permission-set screenshot screenshot"), std::string::npos);
    EXPECT_EQ(
        portalResponseFailure(7), "the desktop portal answered the screenshot with the unknown response 7");
}

TEST(PortalProtocol, OnlyItsOwnTemporaryFilesAreDeleted)
{
    const std::vector<std::string> temporary = {"/tmp", "/var/tmp/me/"};
    const struct {
        const char* path;
        bool ours;
    } files[] = {{"/tmp/out.png", true}, {"/tmp//sub/./x.png", true}, {"/var/tmp/me/x.png", true},
        {"/tmp", false}, {"/tmpfoo/x.png", false}, {"/tmp/../etc/passwd", false},
        {"/home/a/Pictures/x.png", false}, {"/tmp/home/Pictures/x.png", false},
        {"/tmp/home/Pictures/../x.png", true}, {"tmp/x.png", false}, {"/../tmp/x.png", false}};
    for (const auto& f : files)
        EXPECT_EQ(isOursToDelete(f.path, temporary, "/tmp/home/Pictures"), f.ours) << f.path;
}

// Reading and deleting a picture of ours is run against the real portal end to end.
TEST(PortalProtocol, ThePictureIsReadKeptWhereNotOursAndCropped)
{
    QTemporaryDir folder;
    const PortalFilePlaces places{{folder.path().toStdString()}, folder.filePath("Pictures").toStdString()};
    QDir(folder.path()).mkpath("Pictures");
    const QString kept = folder.filePath("Pictures/shot.png");
    const QImage pattern = testsupport::coordinatePattern(300, 200);
    ASSERT_TRUE(pattern.save(kept));
    const PortalPicture picture = takePortalPicture("file://" + kept.toStdString(), places);
    ASSERT_EQ(picture.failure, "");
    EXPECT_TRUE(QFile::exists(kept));
    const ScreenPixels part = croppedPixels(picture.pixels, {290, 190, 10, 10});
    const QImage shown(part.bits, part.width, part.height, part.stride, QImage::Format_RGB32);
    EXPECT_EQ(testsupport::differenceBetween(shown, pattern.copy(290, 190, 10, 10)), QString());
    EXPECT_TRUE(croppedPixels(picture.pixels, {291, 190, 10, 10}).isEmpty());

    // The portal escapes what a URI cannot hold as it is.
    QFile(folder.filePath("shot #1.png")).open(QIODevice::WriteOnly);
    const std::string ours = "file://" + folder.path().toStdString() + "/shot%20%231.png";
    EXPECT_NE(takePortalPicture(ours, places).failure.find("is no readable PNG"), std::string::npos);
    EXPECT_NE(takePortalPicture(ours, places).failure.find("cannot read"), std::string::npos)
        << "the empty file was ours: deleted";
    EXPECT_NE(takePortalPicture("ftp://x/y.png", places).failure.find("not a local file"), std::string::npos);
}
