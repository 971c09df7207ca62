#include "platform/wayland/layer_surfaces.h"

#include "platform/wayland/shm_memory.h"
#include "platform/wayland/wayland_connection.h"

// The protocol names an argument "namespace", which C++ keeps for itself.
#define namespace layerNamespace
#include "wlr-layer-shell-unstable-v1-client-protocol.h"
#undef namespace

#include <QPainter>
#include <cerrno>
#include <linux/input-event-codes.h>
#include <poll.h>
#include <unistd.h>
#include <vector>
#include <wayland-client.h>
#include <wayland-cursor.h>

namespace quorvex {

namespace {

// Rectangles of an input region sent before the connection is flushed: far fewer than its buffer
// (4096 bytes, 28 a rectangle) holds.
constexpr int kRectanglesAtOnce = 64;

// Shared memory one picture of a surface is drawn in; busy while the compositor holds it.
struct Buffer {
    std::unique_ptr<ShmMemory> memory;
    wl_buffer* buffer = nullptr;
    int width = 0, height = 0;
    bool busy = false;
    QRect drawn; // the only part not transparent (device pixels)

    ~Buffer()
    {
        if (buffer)
            wl_buffer_destroy(buffer);
    }
    static void release(void* data, wl_buffer*) { static_cast<Buffer*>(data)->busy = false; }
    static constexpr wl_buffer_listener kListener = {&release};
};

// The layer surface covering one output.
struct Surface {
    const WaylandOutput* output = nullptr;
    wl_surface* surface = nullptr;
    zwlr_layer_surface_v1* layer = nullptr;
    QSize size; // logical, as the compositor configured it
    QRect shown; // what the compositor shows of it (device pixels)
    bool closed = false;
    std::vector<std::unique_ptr<Buffer>> buffers;

    ~Surface()
    {
        buffers.clear();
        if (layer)
            zwlr_layer_surface_v1_destroy(layer);
        if (surface)
            wl_surface_destroy(surface);
    }
};

std::unique_ptr<Buffer> newBuffer(wl_shm* shm, int width, int height)
{
    auto buffer = std::make_unique<Buffer>();
    buffer->memory = ShmMemory::create(size_t(width) * size_t(height) * 4);
    if (!buffer->memory)
        return nullptr;
    buffer->buffer = buffer->memory->createBuffer(shm, width, height, width * 4, WL_SHM_FORMAT_ARGB8888);
    buffer->width = width;
    buffer->height = height;
    wl_buffer_add_listener(buffer->buffer, &Buffer::kListener, buffer.get());
    return buffer;
}

// An output's place in the layout (logical).
QRect placeOf(const WaylandOutput& output)
{
    const PixelRect place = output.place().logical;
    return {place.x, place.y, place.width, place.height};
}

} // namespace

struct LayerSurfaces::Private {
    std::unique_ptr<WaylandConnection> connection;
    wl_display* display = nullptr;
    wl_compositor* compositor = nullptr;
    wl_shm* shm = nullptr;
    wl_seat* seat = nullptr;
    wl_pointer* pointer = nullptr;
    wl_keyboard* keyboard = nullptr;
    zwlr_layer_shell_v1* layerShell = nullptr;
    std::vector<std::unique_ptr<Surface>> surfaces;
    Surface* pointerSurface = nullptr;
    uint32_t enterSerial = 0;
    QPointF pointerAt;
    wl_cursor_theme* cursorTheme = nullptr;
    wl_surface* cursorSurface = nullptr;
    const wl_cursor* cursorShown = nullptr; // on the pointer since it entered
    PointerHandler pointerHandler;
    KeyHandler keyHandler;

    ~Private()
    {
        surfaces.clear();
        if (cursorSurface)
            wl_surface_destroy(cursorSurface);
        if (cursorTheme)
            wl_cursor_theme_destroy(cursorTheme);
        if (pointer)
            wl_pointer_destroy(pointer);
        if (keyboard)
            wl_keyboard_destroy(keyboard);
        if (seat)
            wl_seat_destroy(seat);
        if (layerShell)
            zwlr_layer_shell_v1_destroy(layerShell);
        if (shm)
            wl_shm_destroy(shm);
        if (compositor)
            wl_compositor_destroy(compositor);
    }

    // The surfaces on an output that went away go with it.
    void outputGone(const WaylandOutput& output)
    {
        std::erase_if(surfaces, [&](const auto& surface) { return surface->output == &output; });
        pointerSurface = nullptr;
    }

    static void capabilities(void* data, wl_seat* seat, uint32_t caps)
    {
        auto* d = static_cast<Private*>(data);
        const bool hasPointer = caps & WL_SEAT_CAPABILITY_POINTER;
        if (hasPointer && !d->pointer) {
            d->pointer = wl_seat_get_pointer(seat);
            wl_pointer_add_listener(d->pointer, &kPointerListener, d);
        } else if (!hasPointer && d->pointer) {
            wl_pointer_destroy(d->pointer);
            d->pointer = nullptr;
        }
        // A compositor may give the surfaces the keyboard once they are clicked (KWin does).
        const bool hasKeyboard = caps & WL_SEAT_CAPABILITY_KEYBOARD;
        if (hasKeyboard && !d->keyboard) {
            d->keyboard = wl_seat_get_keyboard(seat);
            wl_keyboard_add_listener(d->keyboard, &kKeyboardListener, d);
        } else if (!hasKeyboard && d->keyboard) {
            wl_keyboard_destroy(d->keyboard);
            d->keyboard = nullptr;
        }
    }
    static void seatName(void*, wl_seat*, const char*) { }
    static void keymap(void*, wl_keyboard*, uint32_t, int32_t fd, uint32_t) { close(fd); }
    static void keyboardEnter(void*, wl_keyboard*, uint32_t, wl_surface*, wl_array*) { }
    static void keyboardLeave(void*, wl_keyboard*, uint32_t, wl_surface*) { }
    static void key(void* data, wl_keyboard*, uint32_t, uint32_t, uint32_t code, uint32_t state)
    {
        auto* d = static_cast<Private*>(data);
        if (d->keyHandler)
            d->keyHandler(code, state == WL_KEYBOARD_KEY_STATE_PRESSED);
    }
    static void modifiers(void*, wl_keyboard*, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t) { }
    static constexpr wl_keyboard_listener kKeyboardListener // bound at version 1: no repeat information
        = {&keymap, &keyboardEnter, &keyboardLeave, &key, &modifiers, nullptr};
    static constexpr wl_seat_listener kSeatListener = {&capabilities, &seatName};

    void pointerMoved(wl_fixed_t x, wl_fixed_t y, LayerPointerEvent::Kind kind)
    {
        if (!pointerSurface)
            return;
        pointerAt = QPointF(placeOf(*pointerSurface->output).topLeft())
            + QPointF(wl_fixed_to_double(x), wl_fixed_to_double(y));
        if (pointerHandler)
            pointerHandler({kind, pointerAt, Qt::NoButton});
    }
    static void enter(
        void* data, wl_pointer*, uint32_t serial, wl_surface* surface, wl_fixed_t x, wl_fixed_t y)
    {
        auto* d = static_cast<Private*>(data);
        d->enterSerial = serial;
        d->cursorShown = nullptr; // each entry starts without an image of ours
        d->pointerSurface = nullptr;
        for (const auto& s : d->surfaces)
            if (s->surface == surface)
                d->pointerSurface = s.get();
        d->pointerMoved(x, y, LayerPointerEvent::Motion);
    }
    static void leave(void* data, wl_pointer*, uint32_t, wl_surface*)
    {
        auto* d = static_cast<Private*>(data);
        if (d->pointerSurface && d->pointerHandler)
            d->pointerHandler({LayerPointerEvent::Leave, d->pointerAt, Qt::NoButton});
        d->pointerSurface = nullptr;
    }
    static void motion(void* data, wl_pointer*, uint32_t, wl_fixed_t x, wl_fixed_t y)
    {
        static_cast<Private*>(data)->pointerMoved(x, y, LayerPointerEvent::Motion);
    }
    static void button(void* data, wl_pointer*, uint32_t, uint32_t, uint32_t code, uint32_t state)
    {
        auto* d = static_cast<Private*>(data);
        const Qt::MouseButton which = code == BTN_LEFT ? Qt::LeftButton
            : code == BTN_RIGHT                        ? Qt::RightButton
            : code == BTN_MIDDLE                       ? Qt::MiddleButton
                                                       : Qt::NoButton;
        if (!d->pointerSurface || which == Qt::NoButton || !d->pointerHandler)
            return;
        d->pointerHandler(
            {state == WL_POINTER_BUTTON_STATE_PRESSED ? LayerPointerEvent::Press : LayerPointerEvent::Release,
                d->pointerAt, which});
    }
    static void axis(void*, wl_pointer*, uint32_t, uint32_t, wl_fixed_t) { }
    static constexpr wl_pointer_listener kPointerListener // bound at version 1: the later events never come
        = {&enter, &leave, &motion, &button, &axis, nullptr, nullptr, nullptr, nullptr, nullptr};

    static void configure(void* data, zwlr_layer_surface_v1* layer, uint32_t serial, uint32_t w, uint32_t h)
    {
        auto* surface = static_cast<Surface*>(data);
        surface->size = QSize(int(w), int(h));
        zwlr_layer_surface_v1_ack_configure(layer, serial);
    }
    static void closed(void* data, zwlr_layer_surface_v1*) { static_cast<Surface*>(data)->closed = true; }
    static constexpr zwlr_layer_surface_v1_listener kLayerListener = {&configure, &closed};

    void createSurfaces()
    {
        for (const auto& output : connection->outputs()) {
            auto surface = std::make_unique<Surface>();
            surface->output = output.get();
            surface->surface = wl_compositor_create_surface(compositor);
            surface->layer = zwlr_layer_shell_v1_get_layer_surface(layerShell, surface->surface,
                output->output, ZWLR_LAYER_SHELL_V1_LAYER_OVERLAY, "quorvex7-selection");
            zwlr_layer_surface_v1_add_listener(surface->layer, &kLayerListener, surface.get());
            zwlr_layer_surface_v1_set_anchor(surface->layer,
                ZWLR_LAYER_SURFACE_V1_ANCHOR_TOP | ZWLR_LAYER_SURFACE_V1_ANCHOR_BOTTOM
                    | ZWLR_LAYER_SURFACE_V1_ANCHOR_LEFT | ZWLR_LAYER_SURFACE_V1_ANCHOR_RIGHT);
            // -1: the whole output, panels included, so surface points are desktop points; it
            // reserves nothing.
            zwlr_layer_surface_v1_set_exclusive_zone(surface->layer, -1);
            zwlr_layer_surface_v1_set_keyboard_interactivity(surface->layer, 0);
            zwlr_layer_surface_v1_set_size(surface->layer, 0, 0);
            wl_surface_commit(surface->surface);
            surfaces.push_back(std::move(surface));
        }
        if (!wl_display_get_error(display))
            wl_display_roundtrip(display); // the first configure of each
    }

    // Sends what waits to be sent, waiting while the compositor has not read what came before. (A
    // request that finds the connection's buffer full breaks the connection for good.)
    void flush()
    {
        while (wl_display_flush(display) < 0 && errno == EAGAIN && !wl_display_get_error(display)) {
            pollfd writable{wl_display_get_fd(display), POLLOUT, 0};
            if (poll(&writable, 1, -1) < 0 && errno != EINTR)
                return;
        }
    }

    // A free buffer of that size; the compositor keeps the last one shown until it has the next.
    Buffer* freeBuffer(Surface& surface, int width, int height)
    {
        std::erase_if(surface.buffers,
            [&](const auto& b) { return !b->busy && (b->width != width || b->height != height); });
        for (const auto& buffer : surface.buffers)
            if (!buffer->busy)
                return buffer.get();
        std::unique_ptr<Buffer> buffer = newBuffer(shm, width, height);
        if (!buffer)
            return nullptr;
        surface.buffers.push_back(std::move(buffer));
        return surface.buffers.back().get();
    }

    void draw(Surface& surface, const QImage& picture, const QPoint& place, const QRegion& input)
    {
        const int scale = surface.output->scale;
        const QPoint origin = placeOf(*surface.output).topLeft();
        Buffer* buffer = freeBuffer(surface, surface.size.width() * scale, surface.size.height() * scale);
        if (!buffer)
            return;
        QImage pixels(buffer->memory->data(), buffer->width, buffer->height, buffer->width * 4,
            QImage::Format_ARGB32_Premultiplied);
        const QPoint at = place - origin;
        const QRect placed(
            at * scale, (QSizeF(picture.size()) / picture.devicePixelRatio() * scale).toSize());
        // Only what changed is drawn and damaged: the buffer's old picture cleared, the new one drawn.
        {
            QPainter painter(&pixels);
            painter.setCompositionMode(QPainter::CompositionMode_Source);
            painter.fillRect(buffer->drawn, Qt::transparent);
            painter.scale(scale, scale);
            painter.drawImage(at, picture);
        }
        for (const QRect& changed : {surface.shown, placed})
            if (const QRect part = changed & pixels.rect(); !part.isEmpty())
                wl_surface_damage_buffer(surface.surface, part.x(), part.y(), part.width(), part.height());
        buffer->drawn = placed & pixels.rect();
        surface.shown = buffer->drawn;
        wl_region* region = wl_compositor_create_region(compositor);
        // A hatched shape is thousands of rectangles, more than a connection's buffer holds: sent in
        // parts, each once the compositor has taken the one before.
        int queued = 0;
        for (const QRect& rect : input.translated(at)) {
            wl_region_add(region, rect.x(), rect.y(), rect.width(), rect.height());
            if (++queued % kRectanglesAtOnce == 0)
                flush();
        }
        wl_surface_set_input_region(surface.surface, region);
        wl_region_destroy(region);
        wl_surface_set_buffer_scale(surface.surface, scale);
        wl_surface_attach(surface.surface, buffer->buffer, 0, 0);
        buffer->busy = true;
        wl_surface_commit(surface.surface);
    }
};

LayerSurfaces::LayerSurfaces()
    : d(std::make_unique<Private>())
{
}

LayerSurfaces::~LayerSurfaces() = default;

Result<std::unique_ptr<LayerSurfaces>> LayerSurfaces::connect(const std::string& display)
{
    Result<std::unique_ptr<WaylandConnection>> connection = WaylandConnection::open(display);
    if (!connection)
        return fail(connection.error());
    std::unique_ptr<LayerSurfaces> surfaces(new LayerSurfaces);
    Private& d = *surfaces->d;
    d.connection = std::move(connection).value();
    d.display = d.connection->display();
    d.connection->setOutputGone([&d](const WaylandOutput& output) { d.outputGone(output); });
    d.compositor = d.connection->bind<wl_compositor>(wl_compositor_interface, 4, 4);
    d.shm = d.connection->bind<wl_shm>(wl_shm_interface, 1);
    d.layerShell = d.connection->bind<zwlr_layer_shell_v1>(zwlr_layer_shell_v1_interface, 1);
    if ((d.seat = d.connection->bind<wl_seat>(wl_seat_interface, 1)))
        wl_seat_add_listener(d.seat, &Private::kSeatListener, &d);
    if (!d.layerShell || !d.compositor || !d.shm || !d.connection->offers("zxdg_output_manager_v1"))
        return fail("this Wayland compositor offers no layer shell (zwlr_layer_shell_v1)");
    if (const Status answered = d.connection->readOutputs(); !answered)
        return fail(answered.error());
    return surfaces;
}

bool LayerSurfaces::failed() const
{
    return wl_display_get_error(d->display) != 0;
}

int LayerSurfaces::fd() const
{
    return wl_display_get_fd(d->display);
}

void LayerSurfaces::dispatch()
{
    // Once the connection breaks, events read with the error stay queued: reading is never ready.
    while (wl_display_prepare_read(d->display) != 0)
        if (wl_display_dispatch_pending(d->display) < 0)
            return;
    wl_display_read_events(d->display); // the notifier saw data waiting: this does not block
    wl_display_dispatch_pending(d->display);
    wl_display_flush(d->display);
}

void LayerSurfaces::roundtrip()
{
    // A connection that failed would wait for ever (libwayland retries a failed flush without end).
    if (!wl_display_get_error(d->display))
        wl_display_roundtrip(d->display);
}

int LayerSurfaces::largestScale() const
{
    return d->connection->largestScale();
}

QPoint LayerSurfaces::desktopOrigin() const
{
    const auto& outputs = d->connection->outputs();
    if (outputs.empty())
        return {};
    QPoint origin = placeOf(*outputs.front()).topLeft();
    for (const auto& output : outputs)
        origin = {std::min(origin.x(), placeOf(*output).x()), std::min(origin.y(), placeOf(*output).y())};
    return origin;
}

QSize LayerSurfaces::desktopSize() const
{
    QRect layout;
    for (const auto& output : d->connection->outputs())
        layout |= placeOf(*output);
    return layout.size() * largestScale();
}

void LayerSurfaces::setPointerHandler(PointerHandler handler)
{
    d->pointerHandler = std::move(handler);
}

void LayerSurfaces::setKeyHandler(KeyHandler handler)
{
    d->keyHandler = std::move(handler);
}

void LayerSurfaces::setCursor(const std::vector<const char*>& names)
{
    if (!d->pointer || !d->pointerSurface)
        return;
    if (!d->cursorTheme) {
        d->cursorTheme = wl_cursor_theme_load(nullptr, 24 * largestScale(), d->shm);
        d->cursorSurface = wl_compositor_create_surface(d->compositor);
    }
    const wl_cursor* cursor = nullptr;
    for (const char* name : names)
        if (!cursor && d->cursorTheme)
            cursor = wl_cursor_theme_get_cursor(d->cursorTheme, name);
    if (!cursor || cursor == d->cursorShown || cursor->image_count < 1)
        return;
    d->cursorShown = cursor;
    const wl_cursor_image* image = cursor->images[0];
    const int scale = largestScale();
    wl_surface_set_buffer_scale(d->cursorSurface, scale);
    wl_surface_attach(
        d->cursorSurface, wl_cursor_image_get_buffer(const_cast<wl_cursor_image*>(image)), 0, 0);
    wl_surface_damage_buffer(d->cursorSurface, 0, 0, int32_t(image->width), int32_t(image->height));
    wl_surface_commit(d->cursorSurface);
    wl_pointer_set_cursor(d->pointer, d->enterSerial, d->cursorSurface, int32_t(image->hotspot_x) / scale,
        int32_t(image->hotspot_y) / scale);
    wl_display_flush(d->display);
}

void LayerSurfaces::present(const QImage& picture, const QPoint& place, const QRegion& input)
{
    if (d->surfaces.empty())
        d->createSurfaces();
    for (const auto& surface : d->surfaces)
        if (!surface->closed && !surface->size.isEmpty())
            d->draw(*surface, picture, place, input);
    wl_display_flush(d->display);
}

void LayerSurfaces::hide()
{
    d->pointerSurface = nullptr;
    d->surfaces.clear();
    wl_display_flush(d->display);
}

} // namespace quorvex
