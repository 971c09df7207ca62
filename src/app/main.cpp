#include "app/command_line.h"
#include "app/command_line_grab.h"
#include "app/grab_wait.h"
#include "app/main_window.h"
#include "app/platform_services.h"
#include "capture/qt_screen_source.h"
#include "capture/xcb_screen_source.h"
#include "output/qt_printer.h"
#include "output/qt_save_file_dialog.h"

#include <QApplication>
#include <QClipboard>
#include <QScreen>
#include <cstdio>
#include <memory>

namespace {

int runWindow(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvex7"));

    // X11 is read over xcb directly; any other platform through Qt's own screen grab.
    xcb_connection_t* x11 = quorvex::XcbScreenSource::qtConnection();
    std::unique_ptr<quorvex::ScreenSource> screen;
    std::unique_ptr<quorvex::ScreenSource> overlayScreen;
    if (x11) {
        screen = std::make_unique<quorvex::XcbScreenSource>(x11, false);
        overlayScreen = std::make_unique<quorvex::XcbScreenSource>(x11, true);
    } else {
        screen = std::make_unique<quorvex::QtScreenSource>();
        overlayScreen = std::make_unique<quorvex::QtScreenSource>();
    }
    quorvex::DialogMessageBoxes messages;
    quorvex::DesktopUrlOpener urls;
    quorvex::SystemWallClock clock;
    quorvex::QtSaveFileDialog saveDialog;
    quorvex::QtPrinter printer;

    const QScreen* primary = QGuiApplication::primaryScreen();
    const quorvex::Twips twips = primary
        ? quorvex::Twips::fromDpi(primary->logicalDotsPerInchX(), primary->logicalDotsPerInchY())
        : quorvex::Twips{};

    quorvex::Form1 window(
        {*screen, *overlayScreen, messages, urls, clock, saveDialog, printer, *QGuiApplication::clipboard()},
        twips);
    messages.setParent(&window);
    window.show();
    return app.exec();
}

} // namespace

int main(int argc, char** argv)
{
    using Action = quorvex::CommandLine::Action;
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const quorvex::CommandLine command = quorvex::parseCommandLine(arguments);

    switch (command.action) {
    case Action::StartWindow:
        return runWindow(argc, argv);
    case Action::Help:
        std::fputs(qPrintable(quorvex::commandLineHelp()), stdout);
        return 0;
    case Action::Version:
        std::printf("quorvex7 %s\n", QUORVEX_VERSION);
        return 0;
    case Action::Error:
        std::fprintf(stderr, "quorvex7: %s (see --help)\n", qPrintable(command.error));
        return 2;
    case Action::Grab:
        break;
    }
    // The command-line grab: no QApplication, no window, no widget.
    QString error;
    const int status = quorvex::runCommandLineGrab(command, quorvex::GrabEnvironment::fromProcess(), error);
    if (status != 0)
        std::fprintf(stderr, "quorvex7: %s\n", qPrintable(error));
    return status;
}
