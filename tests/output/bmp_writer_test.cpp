#include "output/bmp_writer.h"

#include "file_test_helpers.h"
#include "test_images.h"

#include <QTemporaryDir>
#include <QtEndian>
#include <cerrno>
#include <gtest/gtest.h>

using namespace quorvex;
using namespace outputtest;
using testsupport::asymmetricPattern;
using testsupport::differenceBetween;

namespace {

quint32 u32At(const QByteArray& bytes, int offset)
{
    return qFromLittleEndian<quint32>(bytes.constData() + offset);
}

quint16 u16At(const QByteArray& bytes, int offset)
{
    return qFromLittleEndian<quint16>(bytes.constData() + offset);
}

} // namespace

TEST(BmpWriter, HeadersDescribeA24BitBottomUpFile)
{
    const struct {
        int width, height;
        quint32 imageSize;
    } cases[] = {{1, 1, 4}, {2, 3, 24}, {3, 2, 24}, {4, 2, 24}, {5, 1, 16}};
    for (const auto& c : cases) {
        cDIBSection dib;
        ASSERT_TRUE(dib.Create(c.width, c.height));
        const QByteArray h = bmpFileHeaders(dib);
        ASSERT_EQ(h.size(), 54);
        EXPECT_EQ(h.left(2), QByteArray("BM"));
        EXPECT_EQ(u32At(h, 2), 54 + c.imageSize) << c.width; // file size
        EXPECT_EQ(u32At(h, 6), 0u); // reserved
        EXPECT_EQ(u32At(h, 10), 54u); // pixels start after the headers
        EXPECT_EQ(u32At(h, 14), 40u);
        EXPECT_EQ(qint32(u32At(h, 18)), c.width);
        EXPECT_EQ(qint32(u32At(h, 22)), c.height); // positive: bottom-up
        EXPECT_EQ(u16At(h, 26), 1);
        EXPECT_EQ(u16At(h, 28), 24);
        EXPECT_EQ(u32At(h, 30), 0u); // BI_RGB
        EXPECT_EQ(u32At(h, 34), c.imageSize);
    }
}

TEST(BmpWriter, FilesReadBackWithExactPixels)
{
    QTemporaryDir dir;
    for (int width = 1; width <= 5; ++width) {
        const QImage picture = asymmetricPattern(width, 4);
        cDIBSection dib;
        dib.CreateFromPicture(picture);
        const QString path = dir.filePath(QStringLiteral("w%1.bmp").arg(width));
        ASSERT_TRUE(WriteBmpFile(dib, path).ok());
        const QByteArray bytes = readAll(path);
        EXPECT_EQ(bytes.size(), 54 + dib.BytesPerScanLine() * 4);
        EXPECT_EQ(bytes.mid(54),
            QByteArray(reinterpret_cast<const char*>(dib.DIBSectionBitsPtr()), bytes.size() - 54));
        EXPECT_EQ(differenceBetween(QImage(path, "BMP"), picture), QString()) << width;
    }
}

TEST(BmpWriter, AnEmptySectionWritesNothing)
{
    QTemporaryDir dir;
    cDIBSection dib;
    const FileWriteResult result = WriteBmpFile(dib, dir.filePath("empty.bmp"));
    EXPECT_EQ(result.error, EINVAL);
    EXPECT_EQ(strayFiles(dir.path(), {}), QStringList());
}
