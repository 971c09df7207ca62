#include "output/safe_file_replace.h"

#include "file_test_helpers.h"

#include <QTemporaryDir>
#include <cerrno>
#include <gtest/gtest.h>

using namespace quorvex;
using namespace outputtest;

namespace {

class SafeFileReplace : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        savedMask = ::umask(022);
    }
    void TearDown() override { ::umask(savedMask); }

    QString path(const QString& name) const { return dir.filePath(name); }

    QTemporaryDir dir;
    mode_t savedMask = 0;
};

FileWriteResult replace(const QString& path, const std::vector<std::string_view>& parts)
{
    return replaceFileContents(QFile::encodeName(path).toStdString(), parts);
}

} // namespace

TEST_F(SafeFileReplace, NewFileGetsThePartsInOrderAndUsualPermissions)
{
    const FileWriteResult result = replace(path("new.bin"), {"head", "", "er|body"});
    ASSERT_TRUE(result.ok()) << result.message();
    EXPECT_EQ(readAll(path("new.bin")), QByteArray("header|body"));
    EXPECT_EQ(statOf(path("new.bin")).st_mode & 07777, 0644u);
    EXPECT_EQ(strayFiles(dir.path(), {"new.bin"}), QStringList());
}

TEST_F(SafeFileReplace, ReplacedFileKeepsTheOldModeOwnerAndTimes)
{
    ASSERT_TRUE(writeFile(path("old.bin"), "old content that is longer than the new one"));
    ASSERT_EQ(::chown(QFile::encodeName(path("old.bin")).constData(), 1234, 2345), 0);
    ageFile(path("old.bin"), 0604);
    const struct stat before = statOf(path("old.bin"));

    ASSERT_TRUE(replace(path("old.bin"), {"new"}).ok());

    const struct stat after = statOf(path("old.bin")); // before reading: a read may touch the access time
    EXPECT_NE(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_mode, before.st_mode);
    EXPECT_EQ(after.st_uid, 1234u);
    EXPECT_EQ(after.st_gid, 2345u);
    EXPECT_TRUE(sameTime(after.st_atim, before.st_atim));
    EXPECT_TRUE(sameTime(after.st_mtim, before.st_mtim));
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
        FileWriteResult result;
        {
            const testsupport::ResourceLimit limit(RLIMIT_FSIZE, c.sizeLimit);
            result = replace(c.target, {big.toStdString()});
        }
        EXPECT_EQ(result.error, c.error) << c.what << ": " << result.message();
        EXPECT_FALSE(result.ok()) << c.what;
        EXPECT_FALSE(result.message().empty());
        EXPECT_EQ(readAll(path("kept.bin")), old) << c.what;
        EXPECT_EQ(strayFiles(dir.path(), {"kept.bin", "folder"}), QStringList()) << c.what;
        EXPECT_EQ(strayFiles(path("folder"), {}), QStringList()) << c.what;
    }
}
