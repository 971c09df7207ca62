#include "platform/wayland/wayland_selection.h"

#include "platform/wayland/shm_memory.h"
#include "platform/wayland/wayland_connection.h"

#include <cmath>
#include <wayland-client.h>
// The protocol names an argument "namespace", which C++ keeps for itself.
#define namespace layerNamespace
#include "wlr-layer-shell-unstable-v1-client-protocol.h"
#undef namespace
#include "xdg-shell-client-protocol.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstring>
#include <linux/input-event-codes.h>
#include <optional>
#include <unistd.h>
#include <vector>
#include <wayland-client.h>
#include <wayland-cursor.h>

namespace quorvex {

namespace {

// Shared memory one picture of a surface is drawn in; busy while the compositor holds it.
struct Buffer {
    std::unique_ptr<ShmMemory> memory;
    wl_buffer* buffer = nullptr;
    PixelSize size;
    bool busy = false;
    std::vector<PixelRect> pending; // parts of the picture it does not show as they are now

    ~Buffer()
    {
        if (buffer)
            wl_buffer_destroy(buffer);
    }
    static void release(void* data, wl_buffer*) { static_cast<Buffer*>(data)->busy = false; }
    static constexpr wl_buffer_listener kListener = {&release};
};

// What covers one output.
struct Surface {
    WaylandOutput* output = nullptr;
    wl_surface* surface = nullptr;
    zwlr_layer_surface_v1* layer = nullptr;
    xdg_surface* xdgSurface = nullptr;
    xdg_toplevel* toplevel = nullptr;
    PixelSize size; // logical, as the compositor configured it
    bool configured = false;
    bool closed = false;
    PixelRect shown; // the part of the picture it shows
    Buffer buffers[2];

    ~Surface()
    {
        if (toplevel)
            xdg_toplevel_destroy(toplevel);
        if (xdgSurface)
            xdg_surface_destroy(xdgSurface);
        if (layer)
            zwlr_layer_surface_v1_destroy(layer);
        if (surface)
            wl_surface_destroy(surface);
    }
    PixelSize viewSize() const { return {size.width * output->scale, size.height * output->scale}; }
};

} // namespace

class WaylandSelection {
public:
    WaylandSelection(const SelectionPainter& painter, bool clicksPick)
        : m_painter(painter)
        , m_clicksPick(clicksPick)
    {
    }
    ~WaylandSelection()
    {
        m_surfaces.clear();
        if (m_cursorSurface)
            wl_surface_destroy(m_cursorSurface);
        if (m_cursorTheme)
            wl_cursor_theme_destroy(m_cursorTheme);
        if (m_pointer)
            wl_pointer_destroy(m_pointer);
        if (m_keyboard)
            wl_keyboard_destroy(m_keyboard);
        if (m_connection)
            wl_display_roundtrip(m_display); // the surfaces are gone before the screen is read again
        for (wl_proxy* global : {reinterpret_cast<wl_proxy*>(m_seat),
                 reinterpret_cast<wl_proxy*>(m_layerShell), reinterpret_cast<wl_proxy*>(m_wmBase),
                 reinterpret_cast<wl_proxy*>(m_shm), reinterpret_cast<wl_proxy*>(m_compositor)})
            if (global)
                wl_proxy_destroy(global);
    }

    Result<AreaChoice> run(const std::string& display)
    {
        Result<std::unique_ptr<WaylandConnection>> opened = WaylandConnection::open(display);
        if (!opened)
            return fail(opened.error());
        m_connection = std::move(opened).value();
        m_display = m_connection->display();
        m_connection->setOutputGone([this](const WaylandOutput& output) { outputGone(output); });
        m_compositor = m_connection->bind<wl_compositor>(wl_compositor_interface, 4, 4);
        m_shm = m_connection->bind<wl_shm>(wl_shm_interface, 1);
        if ((m_seat = m_connection->bind<wl_seat>(wl_seat_interface, 1)))
            wl_seat_add_listener(m_seat, &kSeatListener, this);
        m_layerShell = m_connection->bind<zwlr_layer_shell_v1>(zwlr_layer_shell_v1_interface, 1);
        if ((m_wmBase = m_connection->bind<xdg_wm_base>(xdg_wm_base_interface, 1)))
            xdg_wm_base_add_listener(m_wmBase, &kWmBaseListener, this);
        if (Status answered = m_connection->readOutputs(); !answered)
            return fail(answered.error());
        if (!m_compositor || !m_shm || !m_seat)
            return fail("this Wayland compositor offers no surfaces, memory or seat to select with");
        if (!m_layerShell && !m_wmBase)
            return fail(
                "this Wayland compositor can show no selection (it has neither layer shell nor xdg-shell)");
        if (Status laidOut = layOut(); !laidOut)
            return fail(laidOut.error());
        for (const auto& output : m_connection->outputs())
            cover(*output);
        while (!m_choice) {
            if (wl_display_dispatch(m_display) < 0)
                return fail("the Wayland compositor went away during the selection");
            for (const auto& surface : m_surfaces)
                if (surface->closed)
                    m_failure = "the Wayland compositor took the selection off the screen";
            if (!m_failure.empty())
                return fail(m_failure);
            if (m_choice)
                break;
            SelectionScene scene;
            if (m_drag.pressed() && !m_drag.isClick(m_painter.scale()))
                scene = {m_drag.area(), m_drag.pointer()};
            if (scene != m_scene) {
                for (const PixelRect& part : m_painter.changed(m_scene, scene))
                    for (const auto& surface : m_surfaces)
                        for (Buffer& buffer : surface->buffers)
                            if (!part.intersected(surface->shown).isEmpty())
                                buffer.pending.push_back(part);
                m_scene = scene;
            }
            for (const auto& surface : m_surfaces)
                draw(*surface);
        }
        return *m_choice;
    }

private:
    // Where each output's part of the picture lies: the picture covers the outputs' layout.
    Status layOut()
    {
        if (m_connection->outputs().empty())
            return fail("this Wayland desktop has no output");
        int left = INT32_MAX, top = INT32_MAX, right = INT32_MIN, bottom = INT32_MIN;
        for (const auto& output : m_connection->outputs()) {
            const PixelRect place = output->place().logical;
            left = std::min(left, place.x);
            top = std::min(top, place.y);
            right = std::max(right, place.x + place.width);
            bottom = std::max(bottom, place.y + place.height);
        }
        if (right <= left || bottom <= top)
            return fail("this Wayland desktop's outputs have no size");
        m_origin = {left, top};
        m_ratioX = double(m_painter.size().width) / (right - left);
        m_ratioY = double(m_painter.size().height) / (bottom - top);
        return {};
    }

    PixelRect pictureOf(const PixelRect& logical) const
    {
        const int x = int(std::lround((logical.x - m_origin.x) * m_ratioX));
        const int y = int(std::lround((logical.y - m_origin.y) * m_ratioY));
        const int right = int(std::lround((logical.x + logical.width - m_origin.x) * m_ratioX));
        const int bottom = int(std::lround((logical.y + logical.height - m_origin.y) * m_ratioY));
        return PixelRect{x, y, right - x, bottom - y}.intersected(
            {0, 0, m_painter.size().width, m_painter.size().height});
    }

    void cover(WaylandOutput& output)
    {
        auto surface = std::make_unique<Surface>();
        surface->output = &output;
        surface->shown = pictureOf(output.place().logical);
        surface->surface = wl_compositor_create_surface(m_compositor);
        wl_surface_set_user_data(surface->surface, surface.get());
        if (m_layerShell) {
            surface->layer = zwlr_layer_shell_v1_get_layer_surface(m_layerShell, surface->surface,
                output.output, ZWLR_LAYER_SHELL_V1_LAYER_OVERLAY, "quorvex7-selection");
            zwlr_layer_surface_v1_add_listener(surface->layer, &kLayerListener, surface.get());
            zwlr_layer_surface_v1_set_anchor(surface->layer,
                ZWLR_LAYER_SURFACE_V1_ANCHOR_TOP | ZWLR_LAYER_SURFACE_V1_ANCHOR_BOTTOM
                    | ZWLR_LAYER_SURFACE_V1_ANCHOR_LEFT | ZWLR_LAYER_SURFACE_V1_ANCHOR_RIGHT);
            zwlr_layer_surface_v1_set_exclusive_zone(surface->layer, -1);
            zwlr_layer_surface_v1_set_keyboard_interactivity(surface->layer, 1);
        } else {
            surface->xdgSurface = xdg_wm_base_get_xdg_surface(m_wmBase, surface->surface);
            xdg_surface_add_listener(surface->xdgSurface, &kXdgSurfaceListener, surface.get());
            surface->toplevel = xdg_surface_get_toplevel(surface->xdgSurface);
            xdg_toplevel_add_listener(surface->toplevel, &kToplevelListener, this);
            xdg_toplevel_set_title(surface->toplevel, "Quorvex7 selection");
            xdg_toplevel_set_app_id(surface->toplevel, "io.github.quorvex7.Quorvex7");
            xdg_toplevel_set_fullscreen(surface->toplevel, output.output);
            const PixelRect logical = output.place().logical;
            surface->size = logical.size();
        }
        wl_surface_commit(surface->surface);
        m_surfaces.push_back(std::move(surface));
    }

    void draw(Surface& surface)
    {
        if (!surface.configured || surface.closed || surface.size.width < 1 || surface.size.height < 1)
            return;
        Buffer* free = nullptr;
        for (Buffer& buffer : surface.buffers)
            if (!buffer.busy && (buffer.pending.size() > 0 || !buffer.buffer))
                free = free ? free : &buffer;
        if (!free)
            return;
        const PixelSize view = surface.viewSize();
        if (!free->buffer || free->size != view) {
            if (free->buffer)
                wl_buffer_destroy(free->buffer);
            free->buffer = nullptr;
            free->memory = ShmMemory::create(size_t(view.width) * size_t(view.height) * 4);
            if (!free->memory) {
                m_failure = "not enough memory to show the selection";
                return;
            }
            free->buffer = free->memory->createBuffer(
                m_shm, view.width, view.height, view.width * 4, WL_SHM_FORMAT_XRGB8888);
            wl_buffer_add_listener(free->buffer, &Buffer::kListener, free);
            free->size = view;
            free->pending = {surface.shown};
        }
        if (free->pending.size() > 16) { // one box round them all costs less than many
            PixelRect all = free->pending.front();
            for (const PixelRect& part : free->pending) {
                const int right = std::max(all.x + all.width, part.x + part.width);
                const int bottom = std::max(all.y + all.height, part.y + part.height);
                all = {std::min(all.x, part.x), std::min(all.y, part.y), 0, 0};
                all.width = right - all.x;
                all.height = bottom - all.y;
            }
            free->pending = {all};
        }
        auto* pixels = reinterpret_cast<uint32_t*>(free->memory->data());
        for (const PixelRect& part : free->pending) {
            const PixelRect inView = SelectionPainter::inView(part, surface.shown, view);
            if (inView.isEmpty())
                continue;
            m_painter.paint(m_scene, surface.shown, view, inView, pixels, std::ptrdiff_t(view.width) * 4);
            wl_surface_damage_buffer(surface.surface, inView.x, inView.y, inView.width, inView.height);
        }
        free->pending.clear();
        wl_surface_set_buffer_scale(surface.surface, surface.output->scale);
        wl_surface_attach(surface.surface, free->buffer, 0, 0);
        wl_surface_commit(surface.surface);
        free->busy = true;
    }

    Surface* surfaceOf(wl_surface* surface) const
    {
        for (const auto& candidate : m_surfaces)
            if (candidate->surface == surface)
                return candidate.get();
        return nullptr;
    }

    // Where the pointer at `x`, `y` of `surface` (logical) falls in the picture.
    PixelPoint pictureAt(const Surface& surface, wl_fixed_t x, wl_fixed_t y) const
    {
        const PixelRect logical = surface.output->place().logical;
        const double px = (logical.x + wl_fixed_to_double(x) - m_origin.x) * m_ratioX;
        const double py = (logical.y + wl_fixed_to_double(y) - m_origin.y) * m_ratioY;
        return {std::clamp(int(std::floor(px)), 0, m_painter.size().width - 1),
            std::clamp(int(std::floor(py)), 0, m_painter.size().height - 1)};
    }

    void showCrosshair(uint32_t serial)
    {
        const int scale = m_connection->largestScale();
        if (!m_cursorTheme) {
            m_cursorTheme = wl_cursor_theme_load(nullptr, 24 * scale, m_shm);
            m_cursorSurface = wl_compositor_create_surface(m_compositor);
        }
        const wl_cursor* cursor = nullptr;
        for (const char* name : {"crosshair", "cross", "tcross", "left_ptr"})
            if (!cursor && m_cursorTheme)
                cursor = wl_cursor_theme_get_cursor(m_cursorTheme, name);
        if (!cursor || cursor->image_count < 1)
            return;
        wl_cursor_image* image = cursor->images[0];
        wl_surface_set_buffer_scale(m_cursorSurface, scale);
        wl_surface_attach(m_cursorSurface, wl_cursor_image_get_buffer(image), 0, 0);
        wl_surface_damage_buffer(m_cursorSurface, 0, 0, int32_t(image->width), int32_t(image->height));
        wl_surface_commit(m_cursorSurface);
        wl_pointer_set_cursor(m_pointer, serial, m_cursorSurface, int32_t(image->hotspot_x) / scale,
            int32_t(image->hotspot_y) / scale);
    }

    void released()
    {
        if (!m_drag.pressed())
            return;
        if (!m_drag.isClick(m_painter.scale()))
            m_choice = AreaChoice{AreaChoice::Kind::Area, m_drag.area(), {}};
        else if (m_clicksPick)
            m_choice = AreaChoice{AreaChoice::Kind::Click, {}, m_drag.pointer()};
        else
            m_drag = {};
    }

    // An output covered by the selection ends it; its surface goes with it.
    void outputGone(const WaylandOutput& output)
    {
        const auto covers = [&](const auto& surface) { return surface->output == &output; };
        if (std::any_of(m_surfaces.begin(), m_surfaces.end(), covers))
            m_failure = "an output went away during the selection";
        if (m_pointerOn && m_pointerOn->output == &output)
            m_pointerOn = nullptr;
        std::erase_if(m_surfaces, covers);
    }

    // The seat: its pointer and keyboard.
    static void capabilities(void* data, wl_seat* seat, uint32_t caps)
    {
        auto* s = static_cast<WaylandSelection*>(data);
        if ((caps & WL_SEAT_CAPABILITY_POINTER) && !s->m_pointer) {
            s->m_pointer = wl_seat_get_pointer(seat);
            wl_pointer_add_listener(s->m_pointer, &kPointerListener, s);
        }
        if ((caps & WL_SEAT_CAPABILITY_KEYBOARD) && !s->m_keyboard) {
            s->m_keyboard = wl_seat_get_keyboard(seat);
            wl_keyboard_add_listener(s->m_keyboard, &kKeyboardListener, s);
        }
    }
    static void seatName(void*, wl_seat*, const char*) { }
    static constexpr wl_seat_listener kSeatListener = {&capabilities, &seatName};

    static void enter(
        void* data, wl_pointer*, uint32_t serial, wl_surface* surface, wl_fixed_t x, wl_fixed_t y)
    {
        auto* s = static_cast<WaylandSelection*>(data);
        s->m_pointerOn = s->surfaceOf(surface);
        s->showCrosshair(serial);
        if (s->m_pointerOn)
            s->m_drag.move(s->pictureAt(*s->m_pointerOn, x, y));
    }
    static void leave(void* data, wl_pointer*, uint32_t, wl_surface*)
    {
        static_cast<WaylandSelection*>(data)->m_pointerOn = nullptr;
    }
    static void motion(void* data, wl_pointer*, uint32_t, wl_fixed_t x, wl_fixed_t y)
    {
        auto* s = static_cast<WaylandSelection*>(data);
        if (s->m_pointerOn)
            s->m_drag.move(s->pictureAt(*s->m_pointerOn, x, y));
    }
    static void button(void* data, wl_pointer*, uint32_t, uint32_t, uint32_t button, uint32_t state)
    {
        auto* s = static_cast<WaylandSelection*>(data);
        if (state == WL_POINTER_BUTTON_STATE_PRESSED && button == BTN_RIGHT)
            s->m_choice = AreaChoice{};
        else if (state == WL_POINTER_BUTTON_STATE_PRESSED && button == BTN_LEFT && s->m_pointerOn)
            s->m_drag.press(s->m_drag.pointer());
        else if (state == WL_POINTER_BUTTON_STATE_RELEASED && button == BTN_LEFT)
            s->released();
    }
    static void axis(void*, wl_pointer*, uint32_t, uint32_t, wl_fixed_t) { }
    static constexpr wl_pointer_listener kPointerListener
        = {&enter, &leave, &motion, &button, &axis, nullptr, nullptr, nullptr, nullptr, nullptr};

    static void keymap(void*, wl_keyboard*, uint32_t, int32_t fd, uint32_t) { ::close(fd); }
    static void keyboardEnter(void*, wl_keyboard*, uint32_t, wl_surface*, wl_array*) { }
    static void keyboardLeave(void*, wl_keyboard*, uint32_t, wl_surface*) { }
    static void key(void* data, wl_keyboard*, uint32_t, uint32_t, uint32_t key, uint32_t state)
    {
        if (key == KEY_ESC && state == WL_KEYBOARD_KEY_STATE_PRESSED)
            static_cast<WaylandSelection*>(data)->m_choice = AreaChoice{};
    }
    static void modifiers(void*, wl_keyboard*, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t) { }
    static constexpr wl_keyboard_listener kKeyboardListener
        = {&keymap, &keyboardEnter, &keyboardLeave, &key, &modifiers, nullptr};

    // Layer surfaces.
    static void layerConfigure(
        void* data, zwlr_layer_surface_v1* layer, uint32_t serial, uint32_t width, uint32_t height)
    {
        auto* surface = static_cast<Surface*>(data);
        zwlr_layer_surface_v1_ack_configure(layer, serial);
        surface->size = {int(width), int(height)};
        surface->configured = true;
    }
    static void layerClosed(void* data, zwlr_layer_surface_v1*)
    {
        static_cast<Surface*>(data)->closed = true;
    }
    static constexpr zwlr_layer_surface_v1_listener kLayerListener = {&layerConfigure, &layerClosed};

    // Full-screen windows.
    static void ping(void*, xdg_wm_base* base, uint32_t serial) { xdg_wm_base_pong(base, serial); }
    static constexpr xdg_wm_base_listener kWmBaseListener = {&ping};
    static void xdgConfigure(void* data, xdg_surface* xdgSurface, uint32_t serial)
    {
        xdg_surface_ack_configure(xdgSurface, serial);
        static_cast<Surface*>(data)->configured = true;
    }
    static constexpr xdg_surface_listener kXdgSurfaceListener = {&xdgConfigure};
    static void toplevelConfigure(
        void* data, xdg_toplevel* toplevel, int32_t width, int32_t height, wl_array*)
    {
        auto* s = static_cast<WaylandSelection*>(data);
        for (const auto& surface : s->m_surfaces)
            if (surface->toplevel == toplevel && width > 0 && height > 0)
                surface->size = {width, height};
    }
    static void toplevelClose(void* data, xdg_toplevel*)
    {
        static_cast<WaylandSelection*>(data)->m_choice = AreaChoice{};
    }
    static constexpr xdg_toplevel_listener kToplevelListener
        = {&toplevelConfigure, &toplevelClose, nullptr, nullptr};

    const SelectionPainter& m_painter;
    const bool m_clicksPick;
    std::unique_ptr<WaylandConnection> m_connection;
    wl_display* m_display = nullptr;
    wl_compositor* m_compositor = nullptr;
    wl_shm* m_shm = nullptr;
    wl_seat* m_seat = nullptr;
    wl_pointer* m_pointer = nullptr;
    wl_keyboard* m_keyboard = nullptr;
    zwlr_layer_shell_v1* m_layerShell = nullptr;
    xdg_wm_base* m_wmBase = nullptr;
    std::vector<std::unique_ptr<Surface>> m_surfaces;
    wl_cursor_theme* m_cursorTheme = nullptr;
    wl_surface* m_cursorSurface = nullptr;
    PixelPoint m_origin; // the layout's top-left corner (logical)
    double m_ratioX = 1, m_ratioY = 1; // picture pixels per logical pixel
    Surface* m_pointerOn = nullptr;
    AreaDrag m_drag;
    SelectionScene m_scene;
    std::optional<AreaChoice> m_choice;
    std::string m_failure;
};

Result<AreaChoice> selectAreaOnWayland(
    const std::string& display, const SelectionPainter& painter, bool clicksPick)
{
    WaylandSelection selection(painter, clicksPick);
    return selection.run(display);
}

} // namespace quorvex
