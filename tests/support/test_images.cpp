#include "test_images.h"

#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace testsupport {

QImage coordinatePattern(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x)
            line[x] = qRgb(x & 255, y & 255, ((x >> 8) & 15) | (((y >> 8) & 15) << 4));
    }
    return image;
}

QImage screenPartOnBlack(const QImage& screen, const QRect& rect)
{
    QImage part(rect.size(), QImage::Format_RGB32);
    part.fill(Qt::black);
    QPainter(&part).drawImage(-rect.topLeft(), screen);
    return part;
}

QImage asymmetricPattern(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            // 64-bit: y * y passes the int range from y = 46341 on; only the low byte counts.
            image.setPixel(x, y,
                qRgb((x * 37 + y * 11) & 255, (y * 53 + 7) & 255, (qint64(x) * 5 + qint64(y) * y) & 255));
    return image;
}

int countPixels(const QImage& image, QRgb colour)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += (image.pixel(x, y) | 0xFF000000) == (colour | 0xFF000000);
    return count;
}

QString differenceBetween(const QImage& actual, const QImage& expected)
{
    if (actual.size() != expected.size())
        return QString::asprintf("size %dx%d, expected %dx%d", actual.width(), actual.height(),
            expected.width(), expected.height());
    for (int y = 0; y < actual.height(); ++y)
        for (int x = 0; x < actual.width(); ++x) {
            const QRgb a = actual.pixel(x, y) & 0xFFFFFF;
            const QRgb e = expected.pixel(x, y) & 0xFFFFFF;
            if (a != e)
                return QString::asprintf("pixel (%d, %d) is #%06x, expected #%06x", x, y, a, e);
        }
    return {};
}

void setRootBackground(const QImage& image)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("root.png"));
    ASSERT_TRUE(image.save(path));
    // display exits 1 even when it worked: the tests check the pixels instead.
    QProcess::execute(QStringLiteral("display"), {QStringLiteral("-window"), QStringLiteral("root"), path});
}

} // namespace testsupport
