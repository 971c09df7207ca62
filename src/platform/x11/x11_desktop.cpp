#include "platform/x11/x11_desktop.h"

#include "platform/x11/xcb_reply.h"
#include "platform/x11/xcb_screen_reader.h"

#include <xcb/randr.h>
#include <xcb/xcb.h>
#include <xcb/xfixes.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

namespace quorvex {

namespace {

constexpr xcb_window_t kPointerRoot = 1; // the input focus follows the pointer

} // namespace

struct X11Desktop::Private {
    std::unique_ptr<xcb_connection_t, void (*)(xcb_connection_t*)> connection{nullptr, &xcb_disconnect};
    xcb_screen_t* screen = nullptr;

    xcb_connection_t* c() const { return connection.get(); }
    PixelRect whole() const { return {0, 0, screen->width_in_pixels, screen->height_in_pixels}; }

    xcb_atom_t atom(const char* name) const
    {
        const auto reply = xcbReply(
            xcb_intern_atom_reply(c(), xcb_intern_atom(c(), 1, uint16_t(std::strlen(name)), name), nullptr));
        return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    }

    std::optional<xcb_window_t> windowProperty(xcb_window_t window, const char* name) const
    {
        const xcb_atom_t property = atom(name);
        if (property == XCB_ATOM_NONE)
            return std::nullopt;
        const auto reply = xcbReply(xcb_get_property_reply(
            c(), xcb_get_property(c(), 0, window, property, XCB_ATOM_WINDOW, 0, 1), nullptr));
        if (!reply || xcb_get_property_value_length(reply.get()) < 4)
            return std::nullopt;
        return *static_cast<xcb_window_t*>(xcb_get_property_value(reply.get()));
    }

    // The window among the root's children that holds `window`: its window manager's frame, or the
    // window itself without one. XCB_WINDOW_NONE for a window of another screen of the display.
    std::optional<xcb_window_t> topLevel(xcb_window_t window) const
    {
        for (int depth = 0; depth < 64; ++depth) {
            const auto tree = xcbReply(xcb_query_tree_reply(c(), xcb_query_tree(c(), window), nullptr));
            if (!tree)
                return std::nullopt;
            if (tree->parent == screen->root)
                return window;
            if (tree->parent == XCB_WINDOW_NONE) // another screen's root
                return xcb_window_t(XCB_WINDOW_NONE);
            window = tree->parent;
        }
        return std::nullopt;
    }

    bool isRootOfAnyScreen(xcb_window_t window) const
    {
        for (auto it = xcb_setup_roots_iterator(xcb_get_setup(c())); it.rem; xcb_screen_next(&it))
            if (it.data->root == window)
                return true;
        return false;
    }

    // A child of the root with its border, on the screen.
    std::optional<PixelRect> placeOf(xcb_window_t window) const
    {
        const auto geometry = xcbReply(xcb_get_geometry_reply(c(), xcb_get_geometry(c(), window), nullptr));
        if (!geometry)
            return std::nullopt;
        const int border = geometry->border_width;
        return PixelRect{
            geometry->x, geometry->y, geometry->width + 2 * border, geometry->height + 2 * border}
            .intersected(whole());
    }
};

X11Desktop::X11Desktop()
    : d(std::make_unique<Private>())
{
}

X11Desktop::~X11Desktop() = default;

Result<std::unique_ptr<X11Desktop>> X11Desktop::connect(const std::string& display)
{
    if (display.empty())
        return fail("no display: set DISPLAY (for example, run under Xvfb)");
    std::unique_ptr<X11Desktop> desktop(new X11Desktop);
    desktop->d->connection.reset(xcb_connect(display.c_str(), nullptr));
    if (xcb_connection_has_error(desktop->d->c()))
        return fail("cannot open the X display '" + display + "'");
    const int number = screenNumberOf(display);
    desktop->d->screen = xcbScreen(desktop->d->c(), number);
    if (!desktop->d->screen)
        return fail("the X display has no screen " + std::to_string(number));
    return desktop;
}

xcb_connection_t* X11Desktop::connection() const
{
    return d->c();
}

xcb_screen_t* X11Desktop::screen() const
{
    return d->screen;
}

PixelSize X11Desktop::size() const
{
    return d->whole().size();
}

std::vector<DesktopOutput> X11Desktop::monitors() const
{
    xcb_connection_t* c = d->c();
    std::vector<DesktopOutput> result;
    const auto version
        = xcbReply(xcb_randr_query_version_reply(c, xcb_randr_query_version(c, 1, 5), nullptr));
    const auto monitors = version && (version->major_version > 1 || version->minor_version >= 5)
        ? xcbReply(xcb_randr_get_monitors_reply(c, xcb_randr_get_monitors(c, d->screen->root, 1), nullptr))
        : nullptr;
    if (monitors) {
        for (auto it = xcb_randr_get_monitors_monitors_iterator(monitors.get()); it.rem;
             xcb_randr_monitor_info_next(&it)) {
            const xcb_randr_monitor_info_t& info = *it.data;
            const auto name = xcbReply(xcb_get_atom_name_reply(c, xcb_get_atom_name(c, info.name), nullptr));
            const PixelRect place{info.x, info.y, info.width, info.height};
            result.push_back({name ? std::string(xcb_get_atom_name_name(name.get()),
                                  size_t(xcb_get_atom_name_name_length(name.get())))
                                   : "monitor-" + std::to_string(result.size() + 1),
                place, 1, place});
        }
    }
    if (result.empty())
        result.push_back({"screen", d->whole(), 1, d->whole()});
    return result;
}

Result<PixelRect> X11Desktop::activeWindow() const
{
    xcb_connection_t* c = d->c();
    std::optional<xcb_window_t> window = d->windowProperty(d->screen->root, "_NET_ACTIVE_WINDOW");
    if (!window) { // no window manager that says: the input focus
        const auto focus = xcbReply(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
        window = focus ? std::optional(focus->focus) : std::nullopt;
    }
    // Before any window had it, a window manager names none and keeps the focus in a window of its
    // own, off the screen.
    if (!window || *window == XCB_WINDOW_NONE || *window == kPointerRoot || d->isRootOfAnyScreen(*window)
        || *window == d->windowProperty(d->screen->root, "_NET_SUPPORTING_WM_CHECK"))
        return fail("no window has the focus");
    const std::optional<xcb_window_t> frame = d->topLevel(*window);
    if (frame == XCB_WINDOW_NONE)
        return fail("the focused window is on another screen of the X display");
    const std::optional<PixelRect> place = frame ? d->placeOf(*frame) : std::nullopt;
    if (!frame || !place)
        return fail("the focused window went away");
    if (place->isEmpty())
        return fail("the focused window lies off the screen");
    return *place;
}

std::optional<PixelRect> X11Desktop::windowAt(PixelPoint point) const
{
    xcb_connection_t* c = d->c();
    const auto tree = xcbReply(xcb_query_tree_reply(c, xcb_query_tree(c, d->screen->root), nullptr));
    if (!tree)
        return std::nullopt;
    const xcb_window_t* children = xcb_query_tree_children(tree.get());
    const int count = xcb_query_tree_children_length(tree.get());
    // Asked all at once, answered top of the stack first.
    std::vector<xcb_get_window_attributes_cookie_t> attributes;
    std::vector<xcb_get_geometry_cookie_t> geometries;
    for (int i = 0; i < count; ++i) {
        attributes.push_back(xcb_get_window_attributes(c, children[i]));
        geometries.push_back(xcb_get_geometry(c, children[i]));
    }
    std::optional<PixelRect> found;
    for (int i = count - 1; i >= 0; --i) {
        const auto attribute = xcbReply(xcb_get_window_attributes_reply(c, attributes[size_t(i)], nullptr));
        const auto geometry = xcbReply(xcb_get_geometry_reply(c, geometries[size_t(i)], nullptr));
        if (found || !attribute || !geometry || attribute->map_state != XCB_MAP_STATE_VIEWABLE
            || attribute->_class != XCB_WINDOW_CLASS_INPUT_OUTPUT || attribute->override_redirect)
            continue;
        const int border = geometry->border_width;
        const PixelRect place{
            geometry->x, geometry->y, geometry->width + 2 * border, geometry->height + 2 * border};
        if (place.contains({point.x, point.y, 1, 1}))
            found = place.intersected(d->whole());
    }
    return found;
}

Result<PointerImage> X11Desktop::pointer() const
{
    xcb_connection_t* c = d->c();
    const auto version
        = xcbReply(xcb_xfixes_query_version_reply(c, xcb_xfixes_query_version(c, 4, 0), nullptr));
    if (!version)
        return fail("this X server cannot show its pointer's image (no XFIXES extension)");
    // The pointer on another screen of the display is in none of this screen's pictures.
    const auto where = xcbReply(xcb_query_pointer_reply(c, xcb_query_pointer(c, d->screen->root), nullptr));
    if (where && !where->same_screen)
        return PointerImage{};
    const auto image
        = xcbReply(xcb_xfixes_get_cursor_image_reply(c, xcb_xfixes_get_cursor_image(c), nullptr));
    if (!image)
        return fail("the X server did not give its pointer's image");
    PointerImage pointer;
    pointer.place = {image->x - image->xhot, image->y - image->yhot, image->width, image->height};
    const uint32_t* pixels = xcb_xfixes_get_cursor_image_cursor_image(image.get());
    const int length = xcb_xfixes_get_cursor_image_cursor_image_length(image.get());
    if (length < image->width * image->height)
        return fail("the X server gave its pointer's image short");
    pointer.pixels.assign(pixels, pixels + length);
    return pointer;
}

int X11Desktop::textScale() const
{
    const auto reply = xcbReply(xcb_get_property_reply(d->c(),
        xcb_get_property(d->c(), 0, d->screen->root, XCB_ATOM_RESOURCE_MANAGER, XCB_ATOM_STRING, 0, 1 << 16),
        nullptr));
    if (!reply)
        return 1;
    return textScaleOfResources({static_cast<const char*>(xcb_get_property_value(reply.get())),
        size_t(xcb_get_property_value_length(reply.get()))});
}

int textScaleOfResources(std::string_view resources)
{
    constexpr std::string_view name = "Xft.dpi:";
    while (!resources.empty()) {
        const size_t end = std::min(resources.find('\n'), resources.size());
        std::string_view line = resources.substr(0, end);
        resources.remove_prefix(std::min(end + 1, resources.size()));
        if (!line.starts_with(name))
            continue;
        line.remove_prefix(name.size());
        while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
            line.remove_prefix(1);
        double dpi = 0;
        const auto [rest, error] = std::from_chars(line.data(), line.data() + line.size(), dpi);
        if (error != std::errc() || !(dpi > 0) || dpi > 96 * 16.0)
            return 1;
        return std::max(1, int(std::lround(dpi / 96)));
    }
    return 1;
}

} // namespace quorvex
