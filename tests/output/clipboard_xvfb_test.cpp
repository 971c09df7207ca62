#include "output/clipboard.h"

#include "test_images.h"

#include <QClipboard>
#include <QEventLoop>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QProcess>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

using namespace quorvex;
using testsupport::coordinatePattern;
using testsupport::differenceBetween;

namespace {

// xclip is the other X client; the event loop runs so that we keep serving the clipboard it reads.
QByteArray runXclip(const QStringList& arguments, const QByteArray& input = {})
{
    QProcess xclip;
    QEventLoop loop;
    QObject::connect(&xclip, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&xclip, &QProcess::errorOccurred, &loop, &QEventLoop::quit);
    QTimer::singleShot(15000, &loop, &QEventLoop::quit);
    xclip.start(QStringLiteral("xclip"), QStringList{"-selection", "clipboard"} + arguments);
    if (!input.isNull()) {
        xclip.write(input);
        xclip.closeWriteChannel();
    }
    if (xclip.state() != QProcess::NotRunning)
        loop.exec();
    EXPECT_EQ(xclip.state(), QProcess::NotRunning)
        << "xclip " << arguments.join(' ').toStdString() << " hangs";
    return xclip.readAllStandardOutput();
}

QByteArray readClipboard(const QString& target)
{
    return runXclip({"-t", target, "-o"});
}

// X gives the clipboard to the newest request, stamped with our last event's time: a real click first.
void clickAWindowOfOurs()
{
    struct ClickTarget : QWidget {
        bool pressed = false;
        void mousePressEvent(QMouseEvent*) override { pressed = true; }
    } target;
    target.setGeometry(10, 10, 60, 40);
    target.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&target));
    QProcess::execute(QStringLiteral("xdotool"),
        {"mousemove", "--window", QString::number(target.winId()), "20", "20", "click", "1"});
    EXPECT_TRUE(QTest::qWaitFor([&] { return target.pressed; }, 10000)) << "the click never arrived";
}

void putTextFromAnotherClient(const QByteArray& text)
{
    runXclip({"-i"}, text); // its child takes the clipboard a moment later
    EXPECT_TRUE(QTest::qWaitFor([&] { return readClipboard(QStringLiteral("UTF8_STRING")) == text; }, 10000))
        << "xclip never took the clipboard";
    clickAWindowOfOurs();
}

} // namespace

TEST(Clipboard, NothingToCopyLeavesItAloneAndOtherClientsReadThePictureExactly)
{
    putTextFromAnotherClient("kept");
    EXPECT_FALSE(CopyPictureToClipboard(QImage(), *QGuiApplication::clipboard()));
    EXPECT_EQ(readClipboard(QStringLiteral("UTF8_STRING")), QByteArray("kept"));

    const QImage picture = coordinatePattern(301, 203);
    ASSERT_TRUE(CopyPictureToClipboard(picture, *QGuiApplication::clipboard()));
    EXPECT_FALSE(readClipboard(QStringLiteral("TARGETS")).contains("UTF8_STRING")) << "the old text stays";
    for (const char* type : {"image/png", "image/bmp"})
        EXPECT_EQ(differenceBetween(QImage::fromData(readClipboard(type)), picture), QString()) << type;
}
