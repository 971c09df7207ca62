#include "app/grab_wait.h"
#include "app/main_window.h"
#include "app/platform_services.h"
#include "capture/qt_screen_source.h"
#include "output/numbered_error.h"
#include "output/process_signals.h"
#include "output/qt_printer.h"
#include "output/qt_save_file_dialog.h"
#include "platform/x11/qt_x11_connection.h"
#include "platform/x11/xcb_screen_source.h"

#include <QApplication>
#include <QClipboard>
#include <QScreen>
#include <memory>

// The program's window. quorvex7 starts it when no command-line grab is asked for.
int main(int argc, char** argv)
{
    if (argc > 0)
        quorvex::setProgramName(argv[0]);
    quorvex::setUpProcessSignals();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvex7"));
    // The installed desktop entry's name: window managers take the window's icon and menu entry from it.
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.quorvex7.Quorvex7"));

    // X11 is read over xcb directly; any other platform through Qt's own screen grab.
    xcb_connection_t* x11 = quorvex::qtX11Connection();
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
