#include "platform/x11/x11_display.h"

#include "platform/x11/qt_x11_connection.h"
#include "platform/x11/xcb_reply.h"

#include <QElapsedTimer>
#include <QRegion>
#include <QThread>
#include <vector>
#include <xcb/shape.h>
#include <xcb/xcb.h>

namespace quorvex {

namespace {

// The child of the root window that holds `window`: the window manager's frame, or the window itself.
xcb_window_t topLevelAncestor(xcb_connection_t* connection, xcb_window_t window)
{
    xcb_window_t current = window;
    for (int depth = 0; depth < 16; ++depth) {
        const XcbReply<xcb_query_tree_reply_t> tree(
            xcb_query_tree_reply(connection, xcb_query_tree(connection, current), nullptr));
        if (!tree || tree->parent == tree->root || tree->parent == XCB_NONE)
            break;
        current = tree->parent;
    }
    return current;
}

QRegion boundingShape(xcb_connection_t* connection, xcb_window_t window)
{
    const XcbReply<xcb_shape_get_rectangles_reply_t> reply(xcb_shape_get_rectangles_reply(
        connection, xcb_shape_get_rectangles(connection, window, XCB_SHAPE_SK_BOUNDING), nullptr));
    if (!reply)
        return {};
    const xcb_rectangle_t* rects = xcb_shape_get_rectangles_rectangles(reply.get());
    const int count = xcb_shape_get_rectangles_rectangles_length(reply.get());
    std::vector<QRect> qrects;
    qrects.reserve(count);
    for (int i = 0; i < count; ++i)
        qrects.emplace_back(rects[i].x, rects[i].y, rects[i].width, rects[i].height);
    QRegion region;
    if (reply->ordering == XCB_CLIP_ORDERING_YX_BANDED) {
        region.setRects(qrects.data(), count);
    } else {
        for (const QRect& rect : qrects)
            region += rect;
    }
    return region;
}

} // namespace

bool displaySupportsShaping()
{
    xcb_connection_t* connection = qtX11Connection();
    if (!connection)
        return false;
    const xcb_query_extension_reply_t* shape = xcb_get_extension_data(connection, &xcb_shape_id);
    return shape && shape->present;
}

void waitForDisplayServer()
{
    xcb_connection_t* connection = qtX11Connection();
    if (!connection)
        return;
    // Any request with a reply will do: the reply comes after everything sent before it was done.
    const XcbReply<xcb_get_input_focus_reply_t> reply(
        xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
}

void waitForWindowManagerShape(WId window, int timeoutMs)
{
    xcb_connection_t* connection = qtX11Connection();
    if (!connection || !displaySupportsShaping())
        return;
    const auto client = static_cast<xcb_window_t>(window);
    const xcb_window_t frame = topLevelAncestor(connection, client);
    if (frame == client)
        return;
    const XcbReply<xcb_translate_coordinates_reply_t> offset(xcb_translate_coordinates_reply(
        connection, xcb_translate_coordinates(connection, client, frame, 0, 0), nullptr));
    const XcbReply<xcb_get_geometry_reply_t> geometry(
        xcb_get_geometry_reply(connection, xcb_get_geometry(connection, client), nullptr));
    if (!offset || !geometry)
        return;
    const QPoint origin(offset->dst_x, offset->dst_y);
    const QRect clientArea(origin, QSize(geometry->width, geometry->height));
    const QRegion wanted = boundingShape(connection, client).translated(origin);

    QElapsedTimer waited;
    waited.start();
    // The frame may add decorations of its own outside the client: compare only over the client.
    while (
        !((boundingShape(connection, frame) & clientArea) ^ wanted).isEmpty() && waited.elapsed() < timeoutMs)
        QThread::msleep(2);
}

std::optional<QPoint> windowPlaceOnDesktop(WId window)
{
    xcb_connection_t* connection = qtX11Connection();
    const xcb_screen_t* screen = qtX11Screen();
    if (!connection || !screen || window == 0)
        return std::nullopt;
    const XcbReply<xcb_translate_coordinates_reply_t> place(xcb_translate_coordinates_reply(connection,
        xcb_translate_coordinates(connection, static_cast<xcb_window_t>(window), screen->root, 0, 0),
        nullptr));
    if (!place)
        return std::nullopt;
    return QPoint(place->dst_x, place->dst_y);
}

} // namespace quorvex
