#include "platform/x11/x11_selection.h"

#include "platform/x11/x11_desktop.h"
#include "platform/x11/xcb_reply.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <sys/ipc.h>
#include <sys/shm.h>
#include <thread>
#include <vector>
#include <xcb/shm.h>
#include <xcb/xcb.h>

namespace quorvex {

namespace {

constexpr uint16_t kCrosshairGlyph = 34; // XC_crosshair of the cursor font
constexpr uint32_t kEscapeKeysym = 0xff1b;
constexpr uint8_t kLeftButton = 1, kRightButton = 3;

// The keys that give Escape on this keyboard.
std::vector<xcb_keycode_t> escapeKeys(xcb_connection_t* c)
{
    const xcb_setup_t* setup = xcb_get_setup(c);
    const int count = setup->max_keycode - setup->min_keycode + 1;
    const auto mapping = xcbReply(xcb_get_keyboard_mapping_reply(
        c, xcb_get_keyboard_mapping(c, setup->min_keycode, uint8_t(count)), nullptr));
    std::vector<xcb_keycode_t> keys;
    if (!mapping)
        return keys;
    const xcb_keysym_t* symbols = xcb_get_keyboard_mapping_keysyms(mapping.get());
    const int perKey = mapping->keysyms_per_keycode;
    for (int key = 0; key < count; ++key)
        for (int i = 0; i < perKey; ++i)
            if (symbols[key * perKey + i] == kEscapeKeysym)
                keys.push_back(xcb_keycode_t(setup->min_keycode + key));
    return keys;
}

xcb_cursor_t crosshair(xcb_connection_t* c)
{
    const xcb_font_t font = xcb_generate_id(c);
    xcb_open_font(c, font, 6, "cursor");
    const xcb_cursor_t cursor = xcb_generate_id(c);
    xcb_create_glyph_cursor(
        c, cursor, font, font, kCrosshairGlyph, kCrosshairGlyph + 1, 0, 0, 0, 0xffff, 0xffff, 0xffff);
    xcb_close_font(c, font);
    return cursor;
}

// What the window shows, in memory the X server reads through MIT-SHM where it can (no copy through
// the connection: a 4K screen's 33 MB take a few milliseconds, not tens), else in plain memory sent
// with PutImage.
class Canvas {
public:
    Canvas(xcb_connection_t* c, PixelSize size)
        : m_c(c)
        , m_size(size)
    {
        const size_t bytes = size_t(size.width) * size_t(size.height) * 4;
        const auto version = xcbReply(xcb_shm_query_version_reply(c, xcb_shm_query_version(c), nullptr));
        const int id = version ? shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600) : -1;
        void* address = id >= 0 ? shmat(id, nullptr, 0) : reinterpret_cast<void*>(-1);
        if (id >= 0)
            shmctl(id, IPC_RMID, nullptr); // gone with the last detach, even after a crash
        if (address != reinterpret_cast<void*>(-1)) {
            m_segment = xcb_generate_id(c);
            if (!xcbReply(xcb_request_check(c, xcb_shm_attach_checked(c, m_segment, uint32_t(id), 1)))) {
                m_shared = static_cast<uint32_t*>(address);
                return;
            }
            shmdt(address);
            m_segment = 0;
        }
        m_plain.resize(size_t(size.width) * size_t(size.height));
    }
    ~Canvas()
    {
        if (!m_shared)
            return;
        xcb_shm_detach(m_c, m_segment);
        shmdt(m_shared);
    }
    uint32_t* data() { return m_shared ? m_shared : m_plain.data(); }

    // Puts `part` of the canvas onto `window` at the same place.
    void show(xcb_window_t window, xcb_gcontext_t gc, uint8_t depth, const PixelRect& part)
    {
        const PixelRect r = part.intersected({0, 0, m_size.width, m_size.height});
        if (r.isEmpty())
            return;
        if (m_shared) {
            xcb_shm_put_image(m_c, window, gc, uint16_t(m_size.width), uint16_t(m_size.height), uint16_t(r.x),
                uint16_t(r.y), uint16_t(r.width), uint16_t(r.height), int16_t(r.x), int16_t(r.y), depth,
                XCB_IMAGE_FORMAT_Z_PIXMAP, 0, m_segment, 0);
            return;
        }
        // Requests no longer than the server takes.
        const size_t most = size_t(xcb_get_maximum_request_length(m_c)) * 4 - 64;
        const int rowsAtOnce = std::max(1, int(most / (size_t(r.width) * 4)));
        std::vector<uint32_t> rows;
        for (int y = r.y; y < r.y + r.height; y += rowsAtOnce) {
            const int count = std::min(rowsAtOnce, r.y + r.height - y);
            rows.resize(size_t(r.width) * size_t(count));
            for (int row = 0; row < count; ++row)
                std::memcpy(rows.data() + size_t(row) * size_t(r.width),
                    m_plain.data() + size_t(y + row) * size_t(m_size.width) + size_t(r.x),
                    size_t(r.width) * 4);
            xcb_put_image(m_c, XCB_IMAGE_FORMAT_Z_PIXMAP, window, gc, uint16_t(r.width), uint16_t(count),
                int16_t(r.x), int16_t(y), 0, depth, uint32_t(rows.size() * 4),
                reinterpret_cast<const uint8_t*>(rows.data()));
        }
    }
    // Returns once the server has read what was shown, so the canvas may change again.
    void settle() { xcbReply(xcb_get_input_focus_reply(m_c, xcb_get_input_focus(m_c), nullptr)); }

private:
    xcb_connection_t* m_c;
    PixelSize m_size;
    uint32_t* m_shared = nullptr;
    xcb_shm_seg_t m_segment = 0;
    std::vector<uint32_t> m_plain;
};

// The window over the whole screen and what it shows.
class SelectionWindow {
public:
    SelectionWindow(const X11Desktop& desktop, const SelectionPainter& painter)
        : m_c(desktop.connection())
        , m_screen(desktop.screen())
        , m_painter(painter)
        , m_size(painter.size())
        , m_canvas(m_c, m_size)
    {
    }
    ~SelectionWindow()
    {
        if (!m_window)
            return;
        xcb_ungrab_pointer(m_c, XCB_CURRENT_TIME);
        xcb_ungrab_keyboard(m_c, XCB_CURRENT_TIME);
        xcb_destroy_window(m_c, m_window);
        xcb_free_gc(m_c, m_gc);
        xcb_free_cursor(m_c, m_cursor);
        // Gone from the screen before anything reads it again.
        xcbReply(xcb_get_input_focus_reply(m_c, xcb_get_input_focus(m_c), nullptr));
    }

    Status open()
    {
        if (m_screen->root_depth != 24 && m_screen->root_depth != 32)
            return fail("the selection needs a screen of 24 or 32 bits a pixel (this one has "
                + std::to_string(m_screen->root_depth) + ")");
        m_cursor = crosshair(m_c);
        m_window = xcb_generate_id(m_c);
        const uint32_t values[] = {1,
            XCB_EVENT_MASK_EXPOSURE | XCB_EVENT_MASK_BUTTON_PRESS | XCB_EVENT_MASK_BUTTON_RELEASE
                | XCB_EVENT_MASK_POINTER_MOTION | XCB_EVENT_MASK_KEY_PRESS,
            m_cursor};
        xcb_create_window(m_c, XCB_COPY_FROM_PARENT, m_window, m_screen->root, 0, 0, uint16_t(m_size.width),
            uint16_t(m_size.height), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT, m_screen->root_visual,
            XCB_CW_OVERRIDE_REDIRECT | XCB_CW_EVENT_MASK | XCB_CW_CURSOR, values);
        static const char title[] = "Quorvex7 selection";
        xcb_change_property(m_c, XCB_PROP_MODE_REPLACE, m_window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8,
            sizeof title - 1, title);
        m_gc = xcb_generate_id(m_c);
        xcb_create_gc(m_c, m_gc, m_window, 0, nullptr);
        paint({}, {0, 0, m_size.width, m_size.height});
        xcb_map_window(m_c, m_window);
        show({0, 0, m_size.width, m_size.height});
        return takeInput();
    }

    // Draws `part` of the scene into the canvas and onto the window.
    void update(const SelectionScene& scene, const std::vector<PixelRect>& parts)
    {
        for (const PixelRect& part : parts)
            paint(scene, part);
        for (const PixelRect& part : parts)
            show(part);
        m_canvas.settle();
    }
    void show(const PixelRect& part) { m_canvas.show(m_window, m_gc, m_screen->root_depth, part); }
    xcb_window_t window() const { return m_window; }

private:
    void paint(const SelectionScene& scene, const PixelRect& part)
    {
        m_painter.paint(scene, {0, 0, m_size.width, m_size.height}, m_size, part, m_canvas.data(),
            std::ptrdiff_t(m_size.width) * 4);
    }

    // The pointer and the keyboard for this window alone; another program may hold them a moment.
    Status takeInput()
    {
        for (int attempt = 0; attempt < 100; ++attempt) {
            const auto pointer = xcbReply(xcb_grab_pointer_reply(m_c,
                xcb_grab_pointer(m_c, 0, m_window,
                    XCB_EVENT_MASK_BUTTON_PRESS | XCB_EVENT_MASK_BUTTON_RELEASE
                        | XCB_EVENT_MASK_POINTER_MOTION,
                    XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC, XCB_WINDOW_NONE, m_cursor, XCB_CURRENT_TIME),
                nullptr));
            const auto keyboard = xcbReply(xcb_grab_keyboard_reply(m_c,
                xcb_grab_keyboard(
                    m_c, 0, m_window, XCB_CURRENT_TIME, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC),
                nullptr));
            if (pointer && pointer->status == XCB_GRAB_STATUS_SUCCESS && keyboard
                && keyboard->status == XCB_GRAB_STATUS_SUCCESS)
                return {};
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return fail("another program holds the pointer or the keyboard: the area cannot be selected");
    }

    xcb_connection_t* m_c;
    xcb_screen_t* m_screen;
    const SelectionPainter& m_painter;
    PixelSize m_size;
    Canvas m_canvas; // what the window shows
    xcb_window_t m_window = 0;
    xcb_gcontext_t m_gc = 0;
    xcb_cursor_t m_cursor = 0;
};

PixelPoint clamped(int x, int y, PixelSize size)
{
    return {std::clamp(x, 0, size.width - 1), std::clamp(y, 0, size.height - 1)};
}

} // namespace

Result<AreaChoice> selectAreaOnX11(
    const X11Desktop& desktop, const SelectionPainter& painter, bool clicksPick)
{
    xcb_connection_t* c = desktop.connection();
    const std::vector<xcb_keycode_t> escape = escapeKeys(c);
    SelectionWindow window(desktop, painter);
    if (Status opened = window.open(); !opened)
        return fail(opened.error());
    AreaDrag drag;
    SelectionScene shown;
    for (;;) {
        xcb_flush(c);
        std::unique_ptr<xcb_generic_event_t, XcbFree> event(xcb_wait_for_event(c));
        if (!event)
            return fail("the X server went away during the selection");
        // Every event that waits is handled before the window is drawn again.
        for (; event; event.reset(xcb_poll_for_event(c))) {
            switch (event->response_type & 0x7f) {
            case XCB_EXPOSE: {
                const auto* expose = reinterpret_cast<xcb_expose_event_t*>(event.get());
                window.show({expose->x, expose->y, expose->width, expose->height});
                break;
            }
            case XCB_KEY_PRESS:
                if (std::find(escape.begin(), escape.end(),
                        reinterpret_cast<xcb_key_press_event_t*>(event.get())->detail)
                    != escape.end())
                    return AreaChoice{};
                break;
            case XCB_BUTTON_PRESS: {
                const auto* press = reinterpret_cast<xcb_button_press_event_t*>(event.get());
                if (press->detail == kRightButton)
                    return AreaChoice{};
                if (press->detail == kLeftButton)
                    drag.press(clamped(press->event_x, press->event_y, painter.size()));
                break;
            }
            case XCB_MOTION_NOTIFY: {
                const auto* motion = reinterpret_cast<xcb_motion_notify_event_t*>(event.get());
                drag.move(clamped(motion->event_x, motion->event_y, painter.size()));
                break;
            }
            case XCB_BUTTON_RELEASE: {
                const auto* release = reinterpret_cast<xcb_button_release_event_t*>(event.get());
                if (release->detail != kLeftButton || !drag.pressed())
                    break;
                drag.move(clamped(release->event_x, release->event_y, painter.size()));
                if (!drag.isClick(1))
                    return AreaChoice{AreaChoice::Kind::Area, drag.area(), {}};
                if (clicksPick)
                    return AreaChoice{AreaChoice::Kind::Click, {}, drag.pointer()};
                drag = {};
                break;
            }
            default:
                break;
            }
        }
        SelectionScene scene;
        if (drag.pressed() && !drag.isClick(1))
            scene = {drag.area(), drag.pointer()};
        if (scene != shown) {
            window.update(scene, painter.changed(shown, scene));
            shown = scene;
        }
    }
}

} // namespace quorvex
