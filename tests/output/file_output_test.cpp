#include "output/bmp_writer.h"
#include "output/byte_sink.h"
#include "output/dib_section.h"
#include "output/jpeg_encoder.h"
#include "output/jpeg_writer.h"
#include "output/numbered_error.h"
#include "output/png_encoder.h"
#include "output/safe_file_replace.h"
#include "output/save_as.h"

#include "fakes.h"
#include "resource_limit.h"
#include "test_images.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <linux/magic.h>
#include <optional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/syscall.h>
#include <unistd.h>

using namespace quorvex;
using testsupport::asymmetricPattern;
using testsupport::ChosenPathDialog;
using testsupport::differenceBetween;
using testsupport::RecordingMessageBoxes;

// Failures come from a real size limit: as root, a read-only folder is no failure.
namespace {

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

struct stat statOf(const QString& path)
{
    struct stat result { };
    ::stat(QFile::encodeName(path).constData(), &result);
    return result;
}

// A file's pages in memory and those not yet handed to the disk (cachestat, Linux 6.5).
struct PageCounts {
    uint64_t cached = 0;
    uint64_t dirty = 0;
};

std::optional<PageCounts> pagesOf(const QString& path)
{
    constexpr long kCachestat = 451; // the same number on every architecture
    struct {
        uint64_t offset = 0, length = 0; // 0: to the end
    } range;
    struct {
        uint64_t cached, dirty, writeback, evicted, recentlyEvicted;
    } counts{};
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    const long result = ::syscall(kCachestat, fd, &range, &counts, 0);
    ::close(fd);
    if (result != 0)
        return std::nullopt;
    return PageCounts{counts.cached, counts.dirty};
}

// Why what ext4 does with a file renamed over another cannot be seen in `folder`; empty where it can.
std::string whyRenameFlushIsUnseen(const QString& folder)
{
    struct statfs system { };
    if (::statfs(QFile::encodeName(folder).constData(), &system) != 0 || system.f_type != EXT4_SUPER_MAGIC)
        return "the folder is not on ext4";
    std::ifstream mounts("/proc/self/mounts");
    std::string device, point, type, options, best, bestOptions;
    const std::string where = QFile::encodeName(folder).toStdString() + '/';
    while (mounts >> device >> point >> type >> options && mounts.ignore(1024, '\n'))
        if (where.rfind(point == "/" ? point : point + '/', 0) == 0 && point.size() >= best.size())
            best = point, bestOptions = options;
    if (bestOptions.find("noauto_da_alloc") != std::string::npos)
        return "ext4 is mounted with noauto_da_alloc";
    const QString probe = folder + "/probe";
    if (!writeFile(probe, "probe") || !pagesOf(probe))
        return "the kernel does not count a file's pages (cachestat)";
    QFile::remove(probe);
    return {};
}

// Everything in `folder` except the names listed.
QStringList strayFiles(const QString& folder, const QStringList& expected)
{
    QStringList found = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QString& name : expected)
        found.removeAll(name);
    return found;
}

// The largest difference of any colour channel.
int channelDistance(QRgb a, QRgb b)
{
    return std::max(
        {std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))});
}

double meanDistance(const QImage& a, const QImage& b)
{
    double sum = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            sum += channelDistance(a.pixel(x, y), b.pixel(x, y));
    return sum / (double(a.width()) * a.height());
}

class SafeFileReplace : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    ~SafeFileReplace() override { ::umask(savedMask); }

    QString path(const QString& name) const { return dir.filePath(name); }

    QTemporaryDir dir;
    const mode_t savedMask = ::umask(022); // new files get 0644
};

// Save As on pic1: the drawing surface it writes and the pictures a JPEG save replaces pic1 with.
class SaveGrabbedImageTest : public SafeFileReplace {
protected:
    void save(std::optional<QString> chosen)
    {
        ChosenPathDialog dialog(std::move(chosen));
        const PictureViewAccess access{
            [this] { return surface; }, [this](const QImage& image) { replacedWith.append(image); }};
        SaveGrabbedImage(dialog, messages, nullptr, access);
        requests = dialog.requests;
    }

    QImage surface = asymmetricPattern(23, 17);
    QList<QImage> replacedWith;
    RecordingMessageBoxes messages;
    QList<SaveFileDialog::Request> requests;
};

// A replace's status, and the errno it left.
struct Replaced {
    Status status;
    int error = status ? 0 : errno;

    bool ok() const { return status.ok(); }
    std::string message() const { return status.error(); }
};

Replaced replacedWith(
    const std::string& path, const std::function<int(int fd)>& write, uint64_t expectedSize = 0)
{
    return {replaceFileWith(path, write, expectedSize)};
}

Replaced replace(const QString& path, const std::vector<std::string_view>& parts)
{
    return {replaceFileContents(QFile::encodeName(path).toStdString(), parts)};
}

} // namespace

TEST_F(SafeFileReplace, NewFileGetsThePartsInOrderAndUsualPermissions)
{
    const Replaced result = replace(path("new.bin"), {"head", "", "er|body"});
    ASSERT_TRUE(result.ok()) << result.message();
    EXPECT_EQ(readAll(path("new.bin")), QByteArray("header|body"));
    EXPECT_EQ(statOf(path("new.bin")).st_mode & 07777, 0644u);
    EXPECT_EQ(strayFiles(dir.path(), {"new.bin"}), QStringList());
}

TEST_F(SafeFileReplace, ReplacedFileKeepsTheOldModeOwnerAndTimes)
{
    ASSERT_TRUE(writeFile(path("old.bin"), "old content that is longer than the new one"));
    const QByteArray old = QFile::encodeName(path("old.bin"));
    ASSERT_EQ(::chown(old.constData(), 1234, 2345), 0);
    ASSERT_EQ(::chmod(old.constData(), 0604), 0);
    const timespec longAgo[2] = {{1000000000, 123456789}, {1010000000, 987654321}}; // nanoseconds too
    ASSERT_EQ(::utimensat(AT_FDCWD, old.constData(), longAgo, 0), 0);
    const struct stat before = statOf(path("old.bin"));

    ASSERT_TRUE(replace(path("old.bin"), {"new"}).ok());

    const struct stat after = statOf(path("old.bin")); // before reading: a read may touch the access time
    EXPECT_NE(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_mode, before.st_mode);
    EXPECT_EQ(after.st_uid, 1234u);
    EXPECT_EQ(after.st_gid, 2345u);
    EXPECT_EQ(after.st_atim.tv_sec, before.st_atim.tv_sec);
    EXPECT_EQ(after.st_atim.tv_nsec, before.st_atim.tv_nsec);
    EXPECT_EQ(after.st_mtim.tv_sec, before.st_mtim.tv_sec);
    EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
    EXPECT_EQ(readAll(path("old.bin")), QByteArray("new"));
    EXPECT_EQ(strayFiles(dir.path(), {"old.bin"}), QStringList());
}

TEST_F(SafeFileReplace, ASymbolicLinkStaysAndItsTargetIsReplaced)
{
    ASSERT_TRUE(writeFile(path("target.bin"), "old"));
    ASSERT_TRUE(QFile::link(path("target.bin"), path("link.bin")));
    ASSERT_TRUE(replace(path("link.bin"), {"new"}).ok());
    EXPECT_TRUE(QFileInfo(path("link.bin")).isSymLink());
    EXPECT_EQ(readAll(path("target.bin")), QByteArray("new"));
    // A chain of relative links, from another folder; and a dangling link gets its target made.
    ASSERT_TRUE(QDir(dir.path()).mkdir("in"));
    ASSERT_EQ(::symlink("../link.bin", QFile::encodeName(path("in/relative.bin")).constData()), 0);
    ASSERT_EQ(::symlink("made.bin", QFile::encodeName(path("dangling.bin")).constData()), 0);
    ASSERT_TRUE(replace(path("in/relative.bin"), {"newer"}).ok());
    ASSERT_TRUE(replace(path("dangling.bin"), {"made"}).ok());
    EXPECT_EQ(readAll(path("target.bin")), QByteArray("newer"));
    EXPECT_EQ(readAll(path("made.bin")), QByteArray("made"));
    EXPECT_TRUE(QFileInfo(path("in/relative.bin")).isSymLink());

    // 40 links are followed, as the kernel follows them; a 41st is ELOOP, and no link is replaced.
    ASSERT_TRUE(QFile::link(path("target.bin"), path("chain0")));
    for (int i = 1; i <= 41; ++i)
        ASSERT_TRUE(
            QFile::link(path(QStringLiteral("chain%1").arg(i - 1)), path(QStringLiteral("chain%1").arg(i))));
    ASSERT_TRUE(replace(path("chain39"), {"forty"}).ok());
    EXPECT_EQ(readAll(path("target.bin")), QByteArray("forty"));
    EXPECT_EQ(replace(path("chain40"), {"forty-one"}).error, ELOOP);
    EXPECT_EQ(readAll(path("target.bin")), QByteArray("forty"));
    for (int i = 0; i <= 41; ++i)
        EXPECT_TRUE(QFileInfo(path(QStringLiteral("chain%1").arg(i))).isSymLink()) << i;
}

TEST_F(SafeFileReplace, FailuresLeaveTheOldFileAndNoTemporaryFile)
{
    const QByteArray old = "the old file, byte for byte";
    const QByteArray big(64 * 1024, 'x');
    ASSERT_TRUE(writeFile(path("kept.bin"), old));
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder"));

    const struct {
        const char* what;
        QString target;
        int error;
        rlim_t sizeLimit;
    } cases[] = {
        {"file-size limit", path("kept.bin"), EFBIG, 1024},
        {"a folder", path("folder"), EISDIR, RLIM_INFINITY},
        {"a missing folder", path("missing/kept.bin"), ENOENT, RLIM_INFINITY},
        {"no name", QString(), ENOENT, RLIM_INFINITY},
    };
    for (const auto& c : cases) {
        Replaced result;
        {
            const testsupport::ResourceLimit limit(RLIMIT_FSIZE, c.sizeLimit);
            result = replace(c.target, {big.toStdString()});
        }
        EXPECT_EQ(result.error, c.error) << c.what << ": " << result.message();
        EXPECT_EQ(result.message(), std::strerror(c.error)) << c.what;
        EXPECT_EQ(readAll(path("kept.bin")), old) << c.what;
        EXPECT_EQ(strayFiles(dir.path(), {"kept.bin", "folder"}), QStringList()) << c.what;
        EXPECT_EQ(strayFiles(path("folder"), {}), QStringList()) << c.what;
    }
}

// Bands at their places, the last first, as a BMP's rows go; the writer's own failure, or a write
// past the file-size limit, keeps the old file.
TEST_F(SafeFileReplace, AWriterPutsBytesAtOffsetsAndItsFailuresKeepTheOldFile)
{
    const std::string kept = QFile::encodeName(path("kept.bin")).toStdString();
    const Replaced placed = replacedWith(
        kept,
        [](int fd) {
            FileSink sink(fd);
            sink.writeAt(6, "world", 5);
            sink.writeAt(0, "hello ", 6);
            return sink.error();
        },
        1 << 20); // more than written: the file still ends at its last byte
    ASSERT_TRUE(placed.ok()) << placed.message();
    EXPECT_EQ(readAll(path("kept.bin")), QByteArray("hello world"));

    const Replaced cancelled = replacedWith(kept, [](int fd) {
        FileSink(fd).append("partial", 7);
        return ECANCELED;
    });
    EXPECT_EQ(cancelled.error, ECANCELED);
    Replaced tooFar;
    {
        const testsupport::ResourceLimit limit(RLIMIT_FSIZE, 1024);
        tooFar = replacedWith(kept, [](int fd) {
            FileSink sink(fd);
            sink.writeAt(4096, "x", 1);
            sink.writeAt(0, "y", 1); // skipped: the first failure stays
            return sink.error();
        });
    }
    EXPECT_EQ(tooFar.error, EFBIG);
    EXPECT_EQ(readAll(path("kept.bin")), QByteArray("hello world"));
    EXPECT_EQ(strayFiles(dir.path(), {"kept.bin"}), QStringList());
}

// A file that replaces one with content is on its way to the disk when the save returns, whether its
// size was known or not: a power cut soon after leaves one content or the other, not zeros. (Blocks
// set aside for it would wait for the next writeback, up to half a minute.)
TEST_F(SafeFileReplace, AFileReplacingOneWithContentIsOnItsWayToTheDisk)
{
    if (const std::string why = whyRenameFlushIsUnseen(dir.path()); !why.empty())
        GTEST_SKIP() << why;
    const QByteArray bytes(256 * 1024, 'q');
    const std::string_view content(bytes.constData(), size_t(bytes.size()));
    ASSERT_TRUE(writeFile(path("whole.bmp"), "old"));
    ASSERT_TRUE(replace(path("whole.bmp"), {content}).ok());
    ASSERT_TRUE(writeFile(path("banded.bmp"), "old"));
    const Replaced banded = replacedWith(
        QFile::encodeName(path("banded.bmp")).toStdString(),
        [&](int fd) {
            FileSink sink(fd);
            const size_t half = content.size() / 2;
            sink.writeAt(half, content.data() + half, content.size() - half);
            sink.writeAt(0, content.data(), half);
            return sink.error();
        },
        content.size());
    ASSERT_TRUE(banded.ok()) << banded.message();
    for (const char* name : {"whole.bmp", "banded.bmp"}) {
        EXPECT_EQ(readAll(path(name)), bytes) << name;
        const std::optional<PageCounts> pages = pagesOf(path(name));
        ASSERT_TRUE(pages) << name;
        EXPECT_GT(pages->cached, 0u) << name << ": its pages left memory, so the count below says nothing";
        EXPECT_EQ(pages->dirty, 0u) << name << ": pages left for the next writeback";
    }
}

// BMP names write the surface exactly (the main window's test checks that) and leave the picture.
TEST_F(SaveGrabbedImageTest, BmpNamesLeaveThePictureAndJpgNamesReplaceIt)
{
    save(path("SHOT.Bmp"));
    EXPECT_TRUE(QFile::exists(path("SHOT.Bmp")));
    EXPECT_TRUE(replacedWith.isEmpty());

    surface = QImage(64, 32, QImage::Format_RGB32);
    surface.fill(qRgb(200, 40, 90));
    save(path("SHOT.JPG"));
    const QImage decoded = QImage::fromData(readAll(path("SHOT.JPG")), "JPEG");
    ASSERT_EQ(decoded.size(), surface.size());
    EXPECT_LT(meanDistance(decoded, surface), 3.0);
    ASSERT_EQ(replacedWith.size(), 1);
    EXPECT_EQ(differenceBetween(replacedWith.first(), surface), QString());
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
    EXPECT_TRUE(replacedWith.isEmpty());
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
        surface = c.emptySurface ? QImage() : asymmetricPattern(200, 100);
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
        EXPECT_TRUE(replacedWith.isEmpty()) << "nothing is done before the refusal";
        const Replaced direct = replace(path(name), {"new"}); // the writers refuse too
        EXPECT_EQ(direct.error, EACCES);
        EXPECT_EQ(direct.message(), "the file is read-only");
        EXPECT_EQ(readAll(path(name)), QByteArray("the user's own file"));
        EXPECT_EQ(statOf(path(name)).st_mode & 07777, 0444u);
    }
    EXPECT_EQ(strayFiles(dir.path(), {"kept.bmp", "kept.jpg"}), QStringList());
}

// The rows' layout is checked through the BMP files, which are the section's bytes read back.
TEST(DibSection, SizesItCannotHoldLeaveItEmptyAndABlockOffThePictureCopiesNothing)
{
    // Rows are stored bottom-up: the offset of a tall picture's first row passes the int range.
    EXPECT_EQ(bottomUpOffset(0, 0, 100000, 30000), qsizetype(99999) * 30000);
    cDIBSection dib;
    try {
        dib.Create(50000, 50000);
        ADD_FAILURE() << "did not overflow";
    } catch (const NumberedError& error) {
        EXPECT_EQ(error.number(), kOverflowError);
    }
    EXPECT_EQ(dib.DIBSectionBitsPtr(), nullptr);
    ASSERT_TRUE(dib.Create(2, 2));
    EXPECT_FALSE(dib.Create(-4, 3));
    EXPECT_EQ(dib.DIBSectionBitsPtr(), nullptr);

    // Too little memory is a refusal, not a crash.
    {
        const testsupport::ResourceLimit cap(
            RLIMIT_AS, testsupport::ResourceLimit::addressSpaceInUsePlus(64 << 20));
        ASSERT_TRUE(cap.isActive());
        EXPECT_FALSE(dib.Create(30000, 20000)); // 1.8 GB
    }
    EXPECT_EQ(dib.DIBSectionBitsPtr(), nullptr);

    const QImage picture = asymmetricPattern(5, 3);
    dib.CreateFromPicture(picture);
    dib.LoadPictureBlt(picture, INT_MAX, INT_MIN, -1, -1); // the program only ever copies whole pictures
    EXPECT_EQ(differenceBetween(dib.toImage(), picture), QString());
}

// Rows with padding and without: red over blue shows a JPEG upside down or read with a wrong pitch.
TEST(BmpAndJpegWriters, WriteTheSectionUprightWithAndWithoutRowPadding)
{
    QTemporaryDir dir;
    for (const int width : {1, 4}) {
        const QImage pattern = asymmetricPattern(width, 4);
        cDIBSection dib;
        dib.CreateFromPicture(pattern);
        const QString bmp = dir.filePath(QStringLiteral("w%1.bmp").arg(width));
        ASSERT_TRUE(writeBmpFile(dib, bmp).ok());
        EXPECT_EQ(readAll(bmp).size(), width == 1 ? 54 + 4 * 4 : 54 + 4 * 12); // rows padded to 4 bytes
        EXPECT_EQ(differenceBetween(QImage(bmp, "BMP"), pattern), QString()) << width;

        QImage picture(width, 16, QImage::Format_RGB32);
        picture.fill(Qt::blue);
        QPainter(&picture).fillRect(0, 0, width, 8, Qt::red);
        dib.CreateFromPicture(picture);
        const QString jpg = dir.filePath(QStringLiteral("w%1.jpg").arg(width));
        WriteJpegFile(dib, jpg, 90); // throws on failure; what it wrote is read back below
        const QImage decoded = QImage::fromData(readAll(jpg), "JPEG");
        ASSERT_EQ(decoded.size(), QSize(width, 16));
        for (int x = 0; x < width; ++x) {
            EXPECT_LE(channelDistance(decoded.pixel(x, 0), qRgb(255, 0, 0)), 40) << width << ", top, x " << x;
            EXPECT_LE(channelDistance(decoded.pixel(x, 15), qRgb(0, 0, 255)), 40)
                << width << ", bottom, x " << x;
        }
    }
    EXPECT_FALSE(writeBmpFile(cDIBSection(), dir.filePath("empty.bmp")).ok());
    EXPECT_EQ(strayFiles(dir.path(), {"w1.bmp", "w4.bmp", "w1.jpg", "w4.jpg"}), QStringList())
        << "an empty section writes nothing";
}

TEST(JpegWriter, FailuresRaiseError26001AndKeepTheOldFile)
{
    QTemporaryDir dir;
    const QByteArray old = "the old file, byte for byte";
    ASSERT_TRUE(writeFile(dir.filePath("kept.jpg"), old));
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.jpg"));
    cDIBSection big;
    big.CreateFromPicture(asymmetricPattern(400, 300)); // noisy: tens of kilobytes
    cDIBSection empty;

    const struct {
        const char* what;
        const cDIBSection& section;
        QString path;
        int quality;
        rlim_t sizeLimit;
        QString description;
    } cases[] = {
        {"file-size limit", big, dir.filePath("kept.jpg"), 90, 4096, "Failed to save to JPG 27"},
        {"a folder", big, dir.filePath("folder.jpg"), 90, RLIM_INFINITY, "Failed to save to JPG 21"},
        {"a missing folder", big, dir.filePath("missing/kept.jpg"), 90, RLIM_INFINITY,
            "Failed to save to JPG 2"},
        {"an empty section", empty, dir.filePath("kept.jpg"), 90, RLIM_INFINITY, "Failed to save to JPG -1"},
        {"a quality beyond 100", big, dir.filePath("kept.jpg"), 101, RLIM_INFINITY,
            "Failed to save to JPG -1"},
    };
    for (const auto& c : cases) {
        try {
            const testsupport::ResourceLimit limit(RLIMIT_FSIZE, c.sizeLimit);
            WriteJpegFile(c.section, c.path, c.quality);
            ADD_FAILURE() << c.what << ": no error";
        } catch (const NumberedError& error) {
            EXPECT_EQ(error.number(), 26001) << c.what;
            EXPECT_EQ(error.source(), "quorvex7.mIntelJPEGLibrary");
            EXPECT_EQ(error.description(), c.description.toStdString()) << c.what;
        }
        EXPECT_EQ(readAll(dir.filePath("kept.jpg")), old) << c.what;
        EXPECT_EQ(strayFiles(dir.path(), {"kept.jpg", "folder.jpg"}), QStringList()) << c.what;
    }
}

namespace {

// Gradients in red and green, noise in blue: smooth and rough parts for the encoders.
QImage gradientsAndNoise(int width, int height)
{
    QImage picture(width, height, QImage::Format_RGB32);
    uint32_t seed = 7;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(
                x, y, qRgb(x % 256, y % 256, ((seed = seed * 1664525u + 1013904223u) >> 24) / 4 + x / 8));
    return picture;
}

} // namespace

// Two writers encoding the top and bottom parts at once make, one after the other, a file with
// exactly the pixels one writer makes of the whole picture; partial blocks at the right and bottom.
TEST(BandedJpegWriter, TwoPartsMakeTheWholePicturesPixels)
{
    const QImage picture = gradientsAndNoise(2563, 1681);
    const int split = jpegBottomPartRow(picture.width(), picture.height());
    ASSERT_GT(split, 0);
    const auto encode = [&](JpegPart part, int first, int count, MemorySink& sink) {
        BandedJpegWriter writer(picture.width(), picture.height(), 90, sink, part);
        writer.addRows(picture.constScanLine(first), count, picture.bytesPerLine());
        writer.finish();
    };
    MemorySink whole, top, bottom;
    encode(JpegPart::Whole, 0, picture.height(), whole);
    encode(JpegPart::Top, 0, split, top);
    encode(JpegPart::Bottom, split, picture.height() - split, bottom);
    std::vector<unsigned char> joined = top.bytes();
    joined.insert(joined.end(), bottom.bytes().begin(), bottom.bytes().end());
    const QImage fromWhole = QImage::fromData(whole.bytes().data(), int(whole.bytes().size()), "JPEG");
    const QImage fromParts = QImage::fromData(joined.data(), int(joined.size()), "JPEG");
    ASSERT_EQ(fromParts.size(), picture.size());
    EXPECT_EQ(fromParts, fromWhole);
    EXPECT_EQ(jpegBottomPartRow(640, 480), 0); // too small to gain from it
    EXPECT_EQ(jpegBottomPartRow(16000, 9000), 0); // more blocks than a restart interval holds
}

// Its pixels, and the banded JPEG writer's, are compared with the screen in the command-line runs;
// here a picture whose file needs several IDAT chunks.
TEST(PngEncoder, RefusesWhatIsNoPictureAndKeepsEveryPixel)
{
    const QImage picture = asymmetricPattern(4, 3);
    EXPECT_FALSE(encodePng({picture.constBits(), 0, 3, 16}).ok());
    EXPECT_FALSE(encodePng({picture.constBits(), 4, -1, 16}).ok());
    EXPECT_FALSE(encodePng({picture.constBits(), 4000000, 1, 16}).ok());
    MemorySink sink;
    PngEncoder tooMany(4, 2, sink);
    tooMany.addRows(picture.constBits(), 3, 16);
    EXPECT_FALSE(tooMany.finish().ok());
    PngEncoder tooFew(4, 3, sink);
    tooFew.addRows(picture.constBits(), 2, 16);
    EXPECT_FALSE(tooFew.finish().ok());
    EXPECT_FALSE(encodePng({nullptr, 4, 3, 16}).ok());

    QImage noise(397, 411, QImage::Format_RGB32); // noise does not compress: about 490 kB
    uint32_t seed = 1;
    for (int y = 0; y < noise.height(); ++y)
        for (int x = 0; x < noise.width(); ++x)
            noise.setPixel(x, y, (seed = seed * 1664525u + 1013904223u) >> 8);
    const Result<std::vector<unsigned char>> png
        = encodePng({noise.constBits(), noise.width(), noise.height(), noise.bytesPerLine()});
    ASSERT_TRUE(png.ok()) << png.error();
    const QImage decoded = QImage::fromData(png->data(), int(png->size()), "PNG");
    EXPECT_GT(png->size(), 3 * 128u * 1024);
    EXPECT_EQ(decoded.convertToFormat(QImage::Format_RGB32), noise);
}

// Two encoders deflating the top and bottom parts at once make, one after the other and with the
// parts' end, a file with the whole picture's pixels and the same checksum of its data.
TEST(PngEncoder, TwoPartsMakeTheWholePicture)
{
    const QImage picture = gradientsAndNoise(1931, 1043);
    const int split = pngBottomPartRow(picture.width(), picture.height());
    ASSERT_GT(split, 0);
    MemorySink whole, top, bottom;
    PngEncoder wholeEncoder(picture.width(), picture.height(), whole);
    wholeEncoder.addRows(picture.constBits(), picture.height(), picture.bytesPerLine());
    ASSERT_TRUE(wholeEncoder.finish().ok());
    PngEncoder topEncoder(picture.width(), picture.height(), top, PngPart::Top);
    PngEncoder bottomEncoder(picture.width(), picture.height(), bottom, PngPart::Bottom);
    topEncoder.addRows(picture.constBits(), split, picture.bytesPerLine());
    // The row above the bottom part comes in a band of its own, then the part's rows in two bands.
    bottomEncoder.addRows(picture.constScanLine(split - 1), 1, picture.bytesPerLine());
    bottomEncoder.addRows(picture.constScanLine(split), 100, picture.bytesPerLine());
    bottomEncoder.addRows(
        picture.constScanLine(split + 100), picture.height() - split - 100, picture.bytesPerLine());
    ASSERT_TRUE(topEncoder.finish().ok());
    ASSERT_TRUE(bottomEncoder.finish().ok());
    std::vector<unsigned char> joined = top.bytes();
    joined.insert(joined.end(), bottom.bytes().begin(), bottom.bytes().end());
    const std::vector<unsigned char> end = pngPartsEnd(topEncoder, bottomEncoder);
    joined.insert(joined.end(), end.begin(), end.end());

    const QImage decoded = QImage::fromData(joined.data(), int(joined.size()), "PNG");
    EXPECT_EQ(decoded.convertToFormat(QImage::Format_RGB32), picture);
    // The stream's checksum lies before the last chunk's CRC and the IEND chunk.
    const auto checksum = [](const std::vector<unsigned char>& file) {
        return std::vector<unsigned char>(file.end() - 20, file.end() - 16);
    };
    EXPECT_EQ(checksum(joined), checksum(whole.bytes()));
    EXPECT_LT(joined.size(), whole.bytes().size() + 1024); // the parts' seam costs little

    EXPECT_EQ(pngBottomPartRow(640, 480), 0); // too small to gain from it
    MemorySink small;
    PngEncoder topOfSmall(640, 480, small, PngPart::Top);
    EXPECT_FALSE(topOfSmall.finish().ok());
}
