// The end-to-end scripts' coordinate-pattern helper: writes it, finds its 64 x 64 corner in part of a
// screenshot ("x y"), checks a block shows it from (SX, SY) on, decodes a pixel's coordinates, shows a
// picture full-screen (the known picture of a desktop whose background cannot be set), pastes the
// clipboard's PNG as a window that has the keyboard (where only such a window may read it).
#include "test_images.h"

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QRasterWindow>
#include <cstdio>
#include <cstdlib>

static bool showsPattern(const QImage& shot, int x, int y, int sx, int sy, int n)
{
    if (x < 0 || y < 0 || x + n > shot.width() || y + n > shot.height())
        return false;
    const QImage expected = testsupport::coordinatePattern(sx + n, sy + n).copy(sx, sy, n, n);
    return testsupport::differenceBetween(shot.copy(x, y, n, n), expected).isEmpty();
}

// A picture at one device pixel per pixel, full-screen.
class PictureWindow final : public QRasterWindow {
public:
    explicit PictureWindow(QImage picture)
        : m_picture(std::move(picture))
    {
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        m_picture.setDevicePixelRatio(devicePixelRatio());
        painter.drawImage(0, 0, m_picture);
    }

private:
    QImage m_picture;
};

// Full-screen in one colour (0x20c040): once it has the keyboard, writes the clipboard's image/png to
// OUT; a right click after that takes the clipboard (with that click's serial, as the desktop may insist).
class PasteWindow final : public QRasterWindow {
public:
    explicit PasteWindow(QString out)
        : m_out(std::move(out))
    {
        // The selection may reach a window a moment after it has become active.
        connect(this, &QWindow::activeChanged, this, &PasteWindow::paste);
        connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, &PasteWindow::paste);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter(this).fillRect(QRect(QPoint(), size()), QColor(0x20c040));
    }
    void mouseReleaseEvent(QMouseEvent* event) override
    {
        if (event->button() == Qt::RightButton && QFile::exists(m_out))
            QGuiApplication::clipboard()->setText("pasted");
    }

private:
    void paste()
    {
        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        if (!isActive() || QFile::exists(m_out) || !data || !data->hasFormat("image/png"))
            return;
        // Qt gives up a read after a second without data and keeps the empty result for this selection: said,
        // not written, so that a slow owner is told from one that serves nothing.
        const QByteArray png = data->data("image/png");
        if (png.isEmpty()) {
            std::fputs("e2e_probe: the clipboard's image/png came empty\n", stderr);
            std::exit(3);
        }
        QFile file(m_out + ".part");
        if (!file.open(QIODevice::WriteOnly) || file.write(png) < 0)
            std::exit(1);
        file.close();
        file.rename(m_out);
    }

    QString m_out;
};

int main(int argc, char** argv)
{
    const QString command = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    auto arg = [&](int i) { return std::atoi(argv[i]); };
    if (command == "pattern" && argc == 5)
        return testsupport::coordinatePattern(arg(2), arg(3)).save(QString::fromLocal8Bit(argv[4])) ? 0 : 2;
    if (command == "find" && argc == 7) {
        const QImage shot = QImage(QString::fromLocal8Bit(argv[2])).convertToFormat(QImage::Format_RGB32);
        // The part of the area on the shot: a window may reach past the screen's edge.
        const QRect area = QRect(arg(3), arg(4), arg(5), arg(6)).intersected(shot.rect());
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                if ((shot.pixel(x, y) & 0xFFFFFF) == 0 && showsPattern(shot, x, y, 0, 0, 64)) {
                    std::printf("%d %d\n", x, y);
                    return 0;
                }
        return 1;
    }
    if (command == "patch" && argc == 8) {
        const QImage shot = QImage(QString::fromLocal8Bit(argv[2])).convertToFormat(QImage::Format_RGB32);
        return showsPattern(shot, arg(3), arg(4), arg(5), arg(6), arg(7)) ? 0 : 1;
    }
    if (command == "decode" && argc == 5) {
        const QRgb p = QImage(QString::fromLocal8Bit(argv[2])).pixel(arg(3), arg(4));
        std::printf("%d %d\n", qRed(p) | ((qBlue(p) & 15) << 8), qGreen(p) | ((qBlue(p) >> 4) << 8));
        return 0;
    }
    if (command == "show" && argc == 3) {
        QGuiApplication app(argc, argv);
        PictureWindow window(QImage(QString::fromLocal8Bit(argv[2])));
        window.showFullScreen();
        return app.exec();
    }
    if (command == "paste" && argc == 3) {
        QGuiApplication app(argc, argv);
        PasteWindow window(QString::fromLocal8Bit(argv[2]));
        window.showFullScreen();
        return app.exec();
    }
    std::fprintf(stderr,
        "usage: e2e_probe pattern W H OUT | find SHOT X Y W H | patch SHOT X Y SX SY N | decode "
        "SHOT X Y | show PICTURE | paste OUT\n");
    return 2;
}
