#include "output/jpeg_writer.h"

#include "file_test_helpers.h"
#include "test_images.h"

#include <QTemporaryDir>
#include <algorithm>
#include <cerrno>
#include <gtest/gtest.h>

using namespace quorvex;
using namespace outputtest;

// Red over blue, at widths with three bytes of row padding and none: upside down or a wrong pitch shows.
TEST(JpegWriter, WritesTheSectionUprightAtItsExactSize)
{
    QTemporaryDir dir;
    for (const int width : {1, 4}) {
        QImage picture(width, 16, QImage::Format_RGB32);
        picture.fill(qRgb(0, 0, 255));
        for (int y = 0; y < 8; ++y)
            std::fill_n(reinterpret_cast<QRgb*>(picture.scanLine(y)), width, qRgb(255, 0, 0));
        cDIBSection dib;
        dib.CreateFromPicture(picture);
        EXPECT_EQ(dib.BytesPerScanLine() - 3 * width, width % 4); // the row padding under test
        const QString path = dir.filePath(QStringLiteral("w%1.jpg").arg(width));
        EXPECT_TRUE(WriteJpegFile(dib, path, 90));
        const QImage decoded = decodeJpeg(readAll(path));
        ASSERT_EQ(decoded.size(), QSize(width, 16));
        for (int x = 0; x < width; ++x) {
            EXPECT_LE(channelDistance(decoded.pixel(x, 0), qRgb(255, 0, 0)), 40) << width << ", top, x " << x;
            EXPECT_LE(channelDistance(decoded.pixel(x, 15), qRgb(0, 0, 255)), 40)
                << width << ", bottom, x " << x;
        }
    }
}

TEST(JpegWriter, FailuresRaiseError26001AndKeepTheOldFile)
{
    QTemporaryDir dir;
    const QByteArray old = "the old file, byte for byte";
    ASSERT_TRUE(writeFile(dir.filePath("kept.jpg"), old));
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.jpg"));
    cDIBSection big;
    big.CreateFromPicture(testsupport::asymmetricPattern(400, 300)); // noisy: tens of kilobytes
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

// The banded writer gives the JPEG the whole-picture writer gives, whatever the band size, and fails
// the way it does.
TEST(BandedJpegWriter, LikeTheWholePictureWriterInAnyBandSize)
{
    QTemporaryDir dir;
    const QImage picture = testsupport::coordinatePattern(131, 70); // smooth, as screens mostly are
    const QString whole = dir.filePath("whole.jpg");
    ASSERT_TRUE(WriteJpegFile(picture, whole, 90));
    const QImage expected = decodeJpeg(readAll(whole));
    ASSERT_EQ(expected.size(), picture.size());
    EXPECT_LT(meanDistance(expected, picture), 4.0);

    for (int band : {1, 7}) {
        const QString path = dir.filePath(QStringLiteral("band%1.jpg").arg(band));
        BandedJpegWriter writer(picture.width(), picture.height(), 90);
        for (int y = 0; y < picture.height(); y += band)
            writer.addRows(
                picture.constScanLine(y), std::min(band, picture.height() - y), picture.bytesPerLine());
        writer.finish(path.toStdString());
        const QImage decoded = decodeJpeg(readAll(path));
        ASSERT_EQ(decoded.size(), picture.size()) << band;
        EXPECT_LT(meanDistance(decoded, expected), 1.0) << band;
        EXPECT_LE(channelDistance(decoded.pixel(130, 69), picture.pixel(130, 69)), 12)
            << "upright, band " << band;
    }

    BandedJpegWriter writer(picture.width(), picture.height(), 90);
    writer.addRows(picture.constBits(), picture.height(), picture.bytesPerLine());
    try {
        writer.finish(dir.filePath("missing-folder/x.jpg").toStdString());
        ADD_FAILURE() << "writing into a missing folder succeeded";
    } catch (const NumberedError& error) {
        EXPECT_EQ(error.number(), kJpegWriterError);
        EXPECT_EQ(error.description(), "Failed to save to JPG 2"); // as the whole-picture writer says
    }
    EXPECT_THROW(BandedJpegWriter(16, 8, 0), NumberedError) << "quality 0";
}
