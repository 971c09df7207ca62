#include "platform/x11/active_window.h"

#include "platform/x11/qt_x11_connection.h"
#include "platform/x11/xcb_reply.h"

#include <xcb/xcb.h>

namespace quorvex {

ActiveWindow x11ActiveWindow()
{
    xcb_connection_t* c = qtX11Connection();
    const xcb_screen_t* screen = qtX11Screen();
    if (!c || !screen)
        return {};
    const xcb_window_t root = screen->root;
    static const char name[] = "_NET_ACTIVE_WINDOW";
    const auto atom
        = xcbReply(xcb_intern_atom_reply(c, xcb_intern_atom(c, 1, sizeof name - 1, name), nullptr));
    if (!atom || atom->atom == XCB_ATOM_NONE)
        return {};
    const auto prop = xcbReply(
        xcb_get_property_reply(c, xcb_get_property(c, 0, root, atom->atom, XCB_ATOM_WINDOW, 0, 1), nullptr));
    if (!prop || xcb_get_property_value_length(prop.get()) < 4)
        return {};
    const xcb_window_t window = *static_cast<xcb_window_t*>(xcb_get_property_value(prop.get()));
    const auto geometry = xcbReply(xcb_get_geometry_reply(c, xcb_get_geometry(c, window), nullptr));
    if (!window || !geometry)
        return {};
    return {window, QSize(geometry->width, geometry->height)};
}

} // namespace quorvex
