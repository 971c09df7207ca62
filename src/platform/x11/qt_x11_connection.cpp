#include "platform/x11/qt_x11_connection.h"

#include <QGuiApplication>

namespace quorvex {

xcb_connection_t* qtX11Connection()
{
    if (!qGuiApp || QGuiApplication::platformName() != QLatin1String("xcb"))
        return nullptr;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

} // namespace quorvex
