#include "output/jpeg_writer.h"

#include "file_test_helpers.h"
#include "test_images.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace quorvex;
using namespace outputtest;

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
