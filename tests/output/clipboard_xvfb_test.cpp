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

} // namespace

TEST(Clipboard, NothingToCopyLeavesItAloneAndOtherClientsReadThePictureExactly)
{
    const auto text = [] { return runXclip({"-t", "UTF8_STRING", "-o"}); };
    runXclip({"-i"}, "kept"); // its child takes the clipboard a moment later
    EXPECT_TRUE(QTest::qWaitFor([&] { return text() == "kept"; }, 10000)) << "xclip never took the clipboard";
    // X gives the clipboard to the newest request, stamped with our last event's time: a real click first.
    struct ClickTarget : QWidget {
        bool pressed = false;
        void mousePressEvent(QMouseEvent*) override { pressed = true; }
    } target;
    target.setGeometry(10, 10, 60, 40);
    target.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&target));
    QProcess::execute(QStringLiteral("xdotool"),
        {"mousemove", "--window", QString::number(target.winId()), "20", "20", "click", "1"});
    ASSERT_TRUE(QTest::qWaitFor([&] { return target.pressed; }, 10000)) << "the click never arrived";
    EXPECT_FALSE(CopyPictureToClipboard(QImage(), *QGuiApplication::clipboard()));
    EXPECT_EQ(text(), QByteArray("kept"));

    const QImage picture = coordinatePattern(301, 203);
    ASSERT_TRUE(CopyPictureToClipboard(picture, *QGuiApplication::clipboard()));
    EXPECT_FALSE(runXclip({"-t", "TARGETS", "-o"}).contains("UTF8_STRING")) << "the old text stays";
    for (const char* type : {"image/png", "image/bmp"})
        EXPECT_EQ(differenceBetween(QImage::fromData(runXclip({"-t", type, "-o"})), picture), QString())
            << type;
}
