#include "capture/capture_commands.h"

#include "capture/grab_window_rect.h"

#include <QGuiApplication>
#include <QWindow>
#include <memory>
#include <xcb/xcb.h>

namespace quorvex {

namespace {

struct Active {
    WId window = 0;
    QSize size;
};

template <typename T> using XcbReply = std::unique_ptr<T, decltype(&std::free)>;

Active activeX11Window()
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11)
        return {};
    xcb_connection_t* c = x11->connection();
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    static const char name[] = "_NET_ACTIVE_WINDOW";
    XcbReply<xcb_intern_atom_reply_t> atom(
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 1, sizeof name - 1, name), nullptr), &std::free);
    if (!atom || atom->atom == XCB_ATOM_NONE)
        return {};
    XcbReply<xcb_get_property_reply_t> prop(
        xcb_get_property_reply(c, xcb_get_property(c, 0, root, atom->atom, XCB_ATOM_WINDOW, 0, 1), nullptr),
        &std::free);
    if (!prop || xcb_get_property_value_length(prop.get()) < 4)
        return {};
    const xcb_window_t window = *static_cast<xcb_window_t*>(xcb_get_property_value(prop.get()));
    XcbReply<xcb_get_geometry_reply_t> geometry(
        xcb_get_geometry_reply(c, xcb_get_geometry(c, window), nullptr), &std::free);
    if (!window || !geometry)
        return {};
    return {window, QSize(geometry->width, geometry->height)};
}

} // namespace

QImage captureActiveWindow(ScreenSource& screen)
{
    Active active = activeX11Window();
    if (!active.window) {
        if (QWindow* focus = QGuiApplication::focusWindow())
            active = {focus->winId(), focus->frameGeometry().size()};
    }
    if (!active.window)
        return {};
    return GrabWindowRect(screen, active.window, false, 0, 0, active.size.width(), active.size.height());
}

} // namespace quorvex
