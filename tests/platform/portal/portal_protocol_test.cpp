#include "platform/dbus/bus_helpers.h"
#include "platform/portal/link_safe_file.h"
#include "platform/portal/portal_answers.h"
#include "platform/portal/portal_picture_file.h"
#include "platform/portal/portal_protocol.h"
#include "test_images.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace quorvex;

namespace {

// A Response signal whose results have the signature `signature` and one entry built by `entry`.
bus::MessagePtr responseSignal(const char* signature, const std::function<void(DBusMessageIter*)>& entry)
{
    bus::MessagePtr signal(dbus_message_new_signal(
        "/org/freedesktop/portal/desktop/request/1_2/t", "org.freedesktop.portal.Request", "Response"));
    DBusMessageIter arguments, results;
    const dbus_uint32_t code = 0;
    dbus_message_iter_init_append(signal.get(), &arguments);
    dbus_message_iter_append_basic(&arguments, DBUS_TYPE_UINT32, &code);
    dbus_message_iter_open_container(&arguments, DBUS_TYPE_ARRAY, signature, &results);
    entry(&results);
    dbus_message_iter_close_container(&arguments, &results);
    return signal;
}

template <typename Key, typename Value>
void appendEntry(DBusMessageIter* results, int keyType, Key key, int valueType, Value value, bool inVariant)
{
    DBusMessageIter entry, variant;
    dbus_message_iter_open_container(results, DBUS_TYPE_DICT_ENTRY, nullptr, &entry);
    dbus_message_iter_append_basic(&entry, keyType, &key);
    const char signature[2] = {char(valueType), 0};
    if (inVariant)
        dbus_message_iter_open_container(&entry, DBUS_TYPE_VARIANT, signature, &variant);
    dbus_message_iter_append_basic(inVariant ? &variant : &entry, valueType, &value);
    if (inVariant)
        dbus_message_iter_close_container(&entry, &variant);
    dbus_message_iter_close_container(results, &entry);
}

} // namespace

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
    EXPECT_TRUE(portalResponseFailure(0));
    EXPECT_TRUE(
        portalResponseFailure(2).error().starts_with("the desktop portal refused the screenshot (denied)"));
    EXPECT_NE(portalResponseFailure(2).error().find("flatpak permission-set screenshot screenshot"),
        std::string::npos);
    EXPECT_EQ(portalResponseFailure(7).error(),
        "the desktop portal answered the screenshot with the unknown response 7");
    EXPECT_EQ(portalTimeoutMessage(std::chrono::seconds(120)),
        "the desktop portal did not answer the screenshot within 2 minutes; nothing was grabbed");
}

// Keys that are no strings and values that are no variants are refused, never read as what they are not
// (the fuzz harness of the sanitized suite tries many more shapes).
TEST(PortalProtocol, AMalformedResponseIsRefused)
{
    const char* uri = "file:///tmp/x.png";
    const char* key = "uri";
    const dbus_int32_t number = 7;
    const auto good = responseSignal("{sv}", [&](DBusMessageIter* r) {
        appendEntry(r, DBUS_TYPE_STRING, key, DBUS_TYPE_UINT32, dbus_uint32_t(1), true);
        appendEntry(r, DBUS_TYPE_STRING, key, DBUS_TYPE_STRING, uri, true);
    });
    ASSERT_TRUE(parsePortalResponse(good.get()));
    EXPECT_EQ(parsePortalResponse(good.get())->uri, uri);
    const auto intKeys = responseSignal("{iv}",
        [&](DBusMessageIter* r) { appendEntry(r, DBUS_TYPE_INT32, number, DBUS_TYPE_STRING, uri, true); });
    const auto uintKeys = responseSignal("{uv}", [&](DBusMessageIter* r) {
        appendEntry(r, DBUS_TYPE_UINT32, dbus_uint32_t(3), DBUS_TYPE_STRING, uri, true);
    });
    const auto bareValues = responseSignal("{ss}",
        [&](DBusMessageIter* r) { appendEntry(r, DBUS_TYPE_STRING, key, DBUS_TYPE_STRING, uri, false); });
    for (const bus::MessagePtr* odd : {&intKeys, &uintKeys, &bareValues})
        EXPECT_FALSE(parsePortalResponse(odd->get()));
    bus::MessagePtr empty(dbus_message_new_signal("/p", "org.freedesktop.portal.Request", "Response"));
    EXPECT_FALSE(parsePortalResponse(empty.get()));
}

// The picture the portal made for the request is read, decoded, then deleted; what was there before, a
// link, a FIFO, a device, a huge file and a text file are each kept, refused at once, never blocking.
TEST(PortalPicture, OnlyTheFileMadeForTheRequestGoesAndNothingOddIsRead)
{
    QTemporaryDir folder;
    const QImage pattern = testsupport::coordinatePattern(300, 200);
    const auto uriOf = [&](const QString& name) { return "file://" + folder.filePath(name).toStdString(); };
    const auto at = [&](const char* name) { return folder.filePath(name).toUtf8(); }; // for the system calls
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    std::vector<std::string> said;
    const SayLine say = [&](const std::string& line) { said.push_back(line); };

    ASSERT_TRUE(pattern.save(folder.filePath("before.png")));
    ASSERT_TRUE(QDir(folder.path()).mkdir("pictures"));
    ASSERT_EQ(::symlink(at("pictures"), at("link")), 0);
    const timespec start = requestMoment();
    ASSERT_TRUE(pattern.save(folder.filePath("pictures/shot #1.png")));
    const Result<ScreenPixels> picture
        = takePortalPicture(uriOf("link/shot%20%231.png"), start, deadline, say);
    ASSERT_TRUE(picture) << picture.error();
    EXPECT_FALSE(QFile::exists(folder.filePath("pictures/shot #1.png"))) << "made for the request: deleted";
    const ScreenPixels part = croppedPixels(*picture, {290, 190, 10, 10});
    const QImage shown(part.bits, part.width, part.height, part.stride, QImage::Format_RGB32);
    EXPECT_EQ(testsupport::differenceBetween(shown, pattern.copy(290, 190, 10, 10)), QString());
    EXPECT_TRUE(croppedPixels(*picture, {291, 190, 10, 10}).isEmpty());
    EXPECT_TRUE(said.empty());

    EXPECT_TRUE(takePortalPicture(uriOf("before.png"), start, deadline, say));
    EXPECT_TRUE(QFile::exists(folder.filePath("before.png")));
    ASSERT_EQ(said.size(), 1u);
    EXPECT_EQ(said[0],
        "the desktop portal's picture stays at '" + folder.filePath("before.png").toStdString()
            + "': it was there before this grab");

    ASSERT_TRUE(pattern.save(folder.filePath("twice.png")));
    ASSERT_EQ(::link(at("twice.png"), at("other.png")), 0);
    EXPECT_TRUE(takePortalPicture(uriOf("twice.png"), start, deadline, say));
    EXPECT_TRUE(QFile::exists(folder.filePath("twice.png"))) << said.back();

    ASSERT_EQ(::symlink(at("before.png"), at("last.png")), 0);
    ASSERT_EQ(::mkfifo(at("fifo.png"), 0600), 0);
    QFile text(folder.filePath("text.png"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly) && text.write("no picture") > 0);
    text.close();
    QFile huge(folder.filePath("huge.png"));
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly) && huge.resize(kMostPortalFileBytes + 1)); // sparse
    huge.close();
    const struct {
        std::string uri;
        const char* failure;
    } refused[] = {{uriOf("last.png"), "was not read: it is a link"},
        {uriOf("fifo.png"), "was not read: it is no regular file"},
        {"file:///dev/zero", "it is no regular file"},
        {uriOf("huge.png"), "it is larger than any desktop's picture"},
        {uriOf("text.png"), "was not read: it is no readable PNG"}, {uriOf("none.png"), "No such file"},
        {"ftp://x/y.png", "not a local file"}};
    for (const auto& r : refused) {
        const Result<ScreenPixels> odd = takePortalPicture(r.uri, start, deadline, say);
        EXPECT_NE(odd.error().find(r.failure), std::string::npos) << r.uri << ": " << odd.error();
    }
    for (const char* name : {"before.png", "text.png", "huge.png", "fifo.png"})
        EXPECT_TRUE(QFile::exists(folder.filePath(name))) << name;

    // A link on the way that another user owns is not followed (root can make one).
    if (::geteuid() == 0) {
        ASSERT_EQ(::lchown(at("link"), 65534, 65534), 0);
        ASSERT_TRUE(pattern.save(folder.filePath("pictures/theirs.png")));
        EXPECT_NE(takePortalPicture(uriOf("link/theirs.png"), start, deadline, say)
                      .error()
                      .find("belongs to another user"),
            std::string::npos);
        EXPECT_TRUE(QFile::exists(folder.filePath("pictures/theirs.png")));
    }
}

// The name is removed only while it still is the file that was read.
TEST(PortalPicture, AFileThatTookTheNameIsNotRemoved)
{
    QTemporaryDir folder;
    const QByteArray name = folder.filePath("shot.png").toUtf8();
    QFile(folder.filePath("shot.png")).open(QIODevice::WriteOnly);
    Result<OpenedFile> opened = openWithoutPlantedLinks(name.toStdString());
    ASSERT_TRUE(opened) << opened.error();
    QFile(folder.filePath("new.png")).open(QIODevice::WriteOnly);
    ASSERT_EQ(::rename(folder.filePath("new.png").toUtf8().constData(), name.constData()), 0);
    EXPECT_EQ(removeOpenedFile(*opened).error(), "another file has taken its name");
    EXPECT_TRUE(QFile::exists(folder.filePath("shot.png")));
}
