#include "app/grab_wait.h"
#include "app/main_window.h"
#include "app/platform_services.h"
#include "output/clipboard.h"
#include "output/numbered_error.h"
#include "output/process_signals.h"
#include "output/qt_printer.h"
#include "output/qt_save_file_dialog.h"
#include "platform/window_backend.h"

#include <QApplication>
#include <QClipboard>
#include <QScreen>
#include <cstdio>

// The program's window. quorvex7 starts it when no command-line grab is asked for.
int main(int argc, char** argv)
{
    if (argc > 0)
        quorvex::setProgramName(argv[0]);
    quorvex::setUpProcessSignals();
    // Native on a Wayland desktop, through XWayland only where Qt's Wayland platform is missing.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "wayland;xcb");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvex7"));
    // The installed desktop entry's name: window managers take the window's icon and menu entry from it.
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.quorvex7.Quorvex7"));

    const quorvex::WindowBackend backend = quorvex::chooseWindowBackend();
    quorvex::DialogMessageBoxes messages;
    quorvex::DesktopUrlOpener urls;
    quorvex::SystemWallClock clock;
    quorvex::QtSaveFileDialog saveDialog;
    quorvex::QtPrinter printer;

    const QScreen* primary = QGuiApplication::primaryScreen();
    const quorvex::Twips twips = primary
        ? quorvex::Twips::fromDpi(primary->logicalDotsPerInchX(), primary->logicalDotsPerInchY())
        : quorvex::Twips{};

    const QString keeper = QCoreApplication::applicationDirPath() + QStringLiteral("/quorvex7");
    quorvex::QtPictureClipboard qtClipboard(*QGuiApplication::clipboard());
    quorvex::KeptPictureClipboard keptClipboard(keeper);
    quorvex::PictureClipboard& clipboard
        = backend.clipboardKeeper ? static_cast<quorvex::PictureClipboard&>(keptClipboard) : qtClipboard;

    quorvex::Form1 window({*backend.screen, *backend.overlayScreen, messages, urls, clock, saveDialog,
                              printer, clipboard, *backend.overlayWindows, *backend.activeWindow},
        twips);
    messages.setParent(&window);
    window.show();
    const int status = app.exec();
    // The picture put on the clipboard stays there after the program's end, as on any desktop.
    const quorvex::Status kept = quorvex::keepClipboardAfterExit(
        *QGuiApplication::clipboard(), QGuiApplication::platformName(), keeper);
    if (!kept)
        std::fprintf(stderr, "quorvex7: the picture leaves the clipboard with the program: %s\n",
            kept.error().c_str());
    return status;
}
