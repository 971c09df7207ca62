#include "output/bmp_writer.h"

#include "file_test_helpers.h"
#include "test_images.h"

#include <QTemporaryDir>
#include <cerrno>
#include <gtest/gtest.h>

using namespace quorvex;
using namespace outputtest;
using testsupport::asymmetricPattern;
using testsupport::differenceBetween;

TEST(BmpWriter, FilesReadBackExactlyAndAnEmptySectionWritesNothing)
{
    QTemporaryDir dir;
    for (const int width : {1, 4}) { // padding and none
        const QImage picture = asymmetricPattern(width, 4);
        cDIBSection dib;
        dib.CreateFromPicture(picture);
        const QString path = dir.filePath(QStringLiteral("w%1.bmp").arg(width));
        ASSERT_TRUE(WriteBmpFile(dib, path).ok());
        EXPECT_EQ(readAll(path).size(), width == 1 ? 54 + 4 * 4 : 54 + 4 * 12); // rows padded to 4 bytes
        EXPECT_EQ(differenceBetween(QImage(path, "BMP"), picture), QString()) << width;
    }
    EXPECT_EQ(WriteBmpFile(cDIBSection(), dir.filePath("empty.bmp")).error, EINVAL);
    EXPECT_EQ(strayFiles(dir.path(), {"w1.bmp", "w4.bmp"}), QStringList())
        << "an empty section writes nothing";
}
