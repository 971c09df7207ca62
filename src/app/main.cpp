#include "app/grab_wait.h"
#include "app/main_window.h"
#include "app/platform_services.h"
#include "capture/qt_screen_source.h"

#include <QApplication>
#include <QScreen>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvex7"));

    quorvex::QtScreenSource screen;
    quorvex::DialogMessageBoxes messages;
    quorvex::DesktopUrlOpener urls;
    quorvex::SystemWallClock clock;

    const QScreen* primary = QGuiApplication::primaryScreen();
    const quorvex::Twips twips = primary
        ? quorvex::Twips::fromDpi(primary->logicalDotsPerInchX(), primary->logicalDotsPerInchY())
        : quorvex::Twips{};

    quorvex::Form1 window({screen, messages, urls, clock}, twips);
    messages.setParent(&window);
    window.show();
    return app.exec();
}
