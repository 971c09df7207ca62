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

TEST(BmpWriter, FilesAreTheHeadersAndTheSectionsBytesAndReadBackExactly)
{
    QTemporaryDir dir;
    for (int width = 1; width <= 5; ++width) { // every row padding
        const QImage picture = asymmetricPattern(width, 4);
        cDIBSection dib;
        dib.CreateFromPicture(picture);
        const QString path = dir.filePath(QStringLiteral("w%1.bmp").arg(width));
        ASSERT_TRUE(WriteBmpFile(dib, path).ok());
        const QByteArray bytes = readAll(path);
        EXPECT_EQ(bytes.left(54), bmpFileHeaders(dib));
        EXPECT_EQ(bytes.mid(54),
            QByteArray(reinterpret_cast<const char*>(dib.DIBSectionBitsPtr()), 4 * dibStride(width)));
        EXPECT_EQ(differenceBetween(QImage(path, "BMP"), picture), QString()) << width;
    }
    // 24 bits, bottom-up, uncompressed: 54 bytes of headers, then 2 rows of 12 bytes.
    cDIBSection dib;
    ASSERT_TRUE(dib.Create(3, 2));
    EXPECT_EQ(bmpFileHeaders(dib).toHex(),
        "424d4e0000000000000036000000280000000300000002000000010018000000000018000000000000000000000000000000"
        "00"
        "000000");
}

TEST(BmpWriter, AnEmptySectionWritesNothing)
{
    QTemporaryDir dir;
    cDIBSection dib;
    EXPECT_EQ(WriteBmpFile(dib, dir.filePath("empty.bmp")).error, EINVAL);
    EXPECT_EQ(strayFiles(dir.path(), {}), QStringList());
}
