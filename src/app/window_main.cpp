#include "app/main_window.h"
#include "app/program_services.h"
#include "output/numbered_error.h"
#include "output/process_signals.h"

#include <QApplication>
#include <QClipboard>
#include <QScreen>
#include <cstdio>
#include <unistd.h>

namespace {

// The window from its showing to the program's end, the clipboard handed on; nothing of ours is left
// when it returns.
int runWindow()
{
    quorvex::ProgramServices program;
    const QScreen* primary = QGuiApplication::primaryScreen();
    const quorvex::Twips twips = primary
        ? quorvex::Twips::fromDpi(primary->logicalDotsPerInchX(), primary->logicalDotsPerInchY())
        : quorvex::Twips{};
    quorvex::Form1 window(program.services(), twips);
    program.setMainWindow(&window);
    window.show();
    const int status = QApplication::exec();
    // The picture put on the clipboard stays there after the program's end, as on any desktop.
    const quorvex::Status kept = quorvex::keepClipboardAfterExit(
        *QGuiApplication::clipboard(), QGuiApplication::platformName(), program.keeper());
    if (!kept)
        std::fprintf(stderr, "quorvex7: the picture leaves the clipboard with the program: %s\n",
            kept.error().c_str());
    return status;
}

} // namespace

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

    const int status = runWindow();
    // Qt's Wayland client (6.4) can wait for ever as it closes its connection: its event thread may be
    // left waiting for a read prepared elsewhere and never made, and the closing waits for that thread.
    // Nothing is left to do, and the compositor frees what the connection held, so the process ends here.
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
        std::fflush(nullptr);
        _exit(status);
    }
    return status;
}
