#include "platform/x11/qt_x11_connection.h"

#include "platform/x11/xcb_screen_reader.h"

#include <QGuiApplication>

namespace quorvex {

xcb_connection_t* qtX11Connection()
{
    if (!qGuiApp || QGuiApplication::platformName() != QLatin1String("xcb"))
        return nullptr;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

int qtX11ScreenNumber()
{
    // Qt connects to DISPLAY (a -display option aside) and opens its windows on the screen it names.
    return screenNumberOf(qEnvironmentVariable("DISPLAY").toStdString());
}

xcb_screen_t* qtX11Screen()
{
    xcb_connection_t* connection = qtX11Connection();
    return connection ? xcbScreen(connection, qtX11ScreenNumber()) : nullptr;
}

} // namespace quorvex
