#include "capture/x11_display.h"

#include <QGuiApplication>
#include <cstdlib>
#include <memory>
#include <xcb/shape.h>
#include <xcb/xcb.h>

namespace quorvex {

namespace {

xcb_connection_t* qtConnection()
{
    if (!qGuiApp || QGuiApplication::platformName() != QLatin1String("xcb"))
        return nullptr;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};

} // namespace

bool displaySupportsShaping()
{
    xcb_connection_t* connection = qtConnection();
    if (!connection)
        return false;
    const xcb_query_extension_reply_t* shape = xcb_get_extension_data(connection, &xcb_shape_id);
    return shape && shape->present;
}

void waitForDisplayServer()
{
    xcb_connection_t* connection = qtConnection();
    if (!connection)
        return;
    // Any request with a reply will do: the reply comes after everything sent before it was done.
    std::unique_ptr<xcb_get_input_focus_reply_t, FreeDeleter> reply(
        xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
}

} // namespace quorvex
