#include "platform/x11/xcb_screen_reader.h"

#include "platform/x11/visual_layout.h"
#include "platform/x11/xcb_reply.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <sys/ipc.h>
#include <sys/shm.h>
#include <vector>
#include <xcb/shm.h>
#include <xcb/xcb.h>

namespace quorvex {

namespace {

// Bytes of pixel data after a GetImage reply's header; xcb's own count is an int, which a reply of
// 2 GB or more would overflow.
std::ptrdiff_t replyDataLength(uint32_t lengthInWords)
{
    return std::ptrdiff_t(lengthInWords) * 4;
}

} // namespace

struct XcbScreenReader::Private {
    std::unique_ptr<xcb_connection_t, void (*)(xcb_connection_t*)> owned{nullptr, &xcb_disconnect};
    xcb_connection_t* connection = nullptr;
    xcb_screen_t* screen = nullptr;
    std::optional<VisualLayout> rootLayout; // none when the root's pixels cannot be converted
    bool directLayout = false; // the root's pixels are 0x00RRGGBB words: buffers need no copy
    Status readability; // fails where the screen cannot be read at all

    // Cleared for good when the server cannot attach our memory (a remote display), by any thread.
    std::atomic<bool> shmUsable = false;
    // Shared-memory segments the server writes reads into. A buffer shows its segment's pixels
    // directly and keeps it until the buffer is let go; the overlay's grabs replace one another, so
    // a few segments go round.
    struct Segment {
        xcb_shm_seg_t id = 0;
        unsigned char* data = nullptr;
        size_t size = 0;
        bool shown = false; // a buffer holds it

        ~Segment() { shmdt(data); }
    };
    static constexpr size_t kMaxSegments = 4;
    std::vector<std::shared_ptr<Segment>> segments;

    std::shared_ptr<Segment> attachSegment(size_t bytes)
    {
        const int id = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
        if (id < 0)
            return nullptr;
        void* address = shmat(id, nullptr, 0);
        // Marked for removal at once: it goes away with the last detach, even if we crash.
        shmctl(id, IPC_RMID, nullptr);
        if (address == reinterpret_cast<void*>(-1)) {
            shmUsable = false;
            return nullptr;
        }
        auto segment = std::make_shared<Segment>();
        segment->data = static_cast<unsigned char*>(address);
        segment->size = bytes;
        segment->id = xcb_generate_id(connection);
        if (xcbReply(xcb_request_check(connection, xcb_shm_attach_checked(connection, segment->id, id, 0)))) {
            shmUsable = false;
            return nullptr;
        }
        return segment;
    }

    // A segment no buffer shows, of at least `bytes`; a new one while there are few.
    std::shared_ptr<Segment> freeSegment(size_t bytes)
    {
        for (auto it = segments.begin(); it != segments.end(); ++it) {
            if ((*it)->shown)
                continue;
            if ((*it)->size >= bytes)
                return *it;
            xcb_shm_detach(connection, (*it)->id); // too small for this read: make room
            segments.erase(it);
            break;
        }
        if (segments.size() >= kMaxSegments)
            return nullptr;
        auto segment = attachSegment(bytes);
        if (segment)
            segments.push_back(segment);
        return segment;
    }

    void detachSegments()
    {
        // Buffers still showing a segment keep its memory mapped until they go.
        for (const auto& segment : segments)
            xcb_shm_detach(connection, segment->id);
        segments.clear();
    }

    // How pixels of a reply with this depth and visual lie; nullopt for a visual without true
    // colours in its pixels (a palette).
    std::optional<VisualLayout> layoutOf(uint8_t depth, xcb_visualid_t visual) const
    {
        const xcb_setup_t* setup = xcb_get_setup(connection);
        std::optional<VisualLayout> layout;
        for (auto f = xcb_setup_pixmap_formats_iterator(setup); f.rem; xcb_format_next(&f))
            if (f.data->depth == depth) {
                layout = VisualLayout{};
                layout->bitsPerPixel = f.data->bits_per_pixel;
                layout->scanlinePad = f.data->scanline_pad;
                layout->mostSignificantByteFirst = setup->image_byte_order == XCB_IMAGE_ORDER_MSB_FIRST;
            }
        const xcb_visualtype_t* type = visualType(visual);
        if (!layout || !type || type->_class != XCB_VISUAL_CLASS_TRUE_COLOR)
            return std::nullopt;
        layout->redMask = type->red_mask;
        layout->greenMask = type->green_mask;
        layout->blueMask = type->blue_mask;
        if (!canConvert(*layout))
            return std::nullopt;
        return layout;
    }

    const xcb_visualtype_t* visualType(xcb_visualid_t visual) const
    {
        for (auto dp = xcb_screen_allowed_depths_iterator(screen); dp.rem; xcb_depth_next(&dp))
            for (auto v = xcb_depth_visuals_iterator(dp.data); v.rem; xcb_visualtype_next(&v))
                if (v.data->visual_id == visual)
                    return v.data;
        return nullptr;
    }

    // The buffer for `pixels` of a reply: its own bytes when they are 0x00RRGGBB words (`keeper`
    // then holds them), a converted copy otherwise.
    ScreenPixels pixelsOf(uint8_t depth, xcb_visualid_t visual, unsigned char* pixels, std::ptrdiff_t length,
        PixelSize size, std::shared_ptr<void> keeper) const
    {
        const std::optional<VisualLayout> layout
            = depth == screen->root_depth && visual == screen->root_visual && rootLayout
            ? rootLayout
            : layoutOf(depth, visual);
        const std::ptrdiff_t stride = layout ? bytesPerRow(*layout, size.width) : 0;
        if (stride <= 0 || length < stride * size.height)
            return {};
        if (isRgb32AsIs(*layout))
            return {pixels, size.width, size.height, stride, std::move(keeper)};
        return convertToXrgb32(*layout, pixels, stride, size.width, size.height);
    }

    ScreenPixels viaGetImage(xcb_drawable_t drawable, const PixelRect& r) const
    {
        auto image = xcbReply(xcb_get_image_reply(connection,
            xcb_get_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP, drawable, int16_t(r.x), int16_t(r.y),
                uint16_t(r.width), uint16_t(r.height), ~0u),
            nullptr));
        if (!image)
            return {};
        const uint8_t depth = image->depth;
        const xcb_visualid_t visual = image->visual;
        unsigned char* data = xcb_get_image_data(image.get());
        const std::ptrdiff_t length = replyDataLength(image->length);
        // The reply's memory becomes the buffer when it can; freed with the last copy.
        return pixelsOf(depth, visual, data, length, r.size(), std::shared_ptr<void>(std::move(image)));
    }

    // The rows of `rect`, `bandRows` at a time, in GetImage replies: the next band's request is on
    // its way while a band is handed on.
    bool bandsViaGetImage(const PixelRect& rect, int bandRows, const BandSink& band)
    {
        auto request = [&](int y) {
            const xcb_get_image_cookie_t cookie = xcb_get_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP,
                screen->root, int16_t(rect.x), int16_t(rect.y + y), uint16_t(rect.width),
                uint16_t(std::min(bandRows, rect.height - y)), ~0u);
            xcb_flush(connection);
            return cookie;
        };
        xcb_get_image_cookie_t next = request(0);
        for (int y = 0; y < rect.height; y += bandRows) {
            auto image = xcbReply(xcb_get_image_reply(connection, next, nullptr));
            const bool more = y + bandRows < rect.height;
            if (more)
                next = request(y + bandRows);
            const int rows = std::min(bandRows, rect.height - y);
            if (!image || replyDataLength(image->length) < std::ptrdiff_t(rect.width) * rows * 4) {
                if (more)
                    xcb_discard_reply(connection, next.sequence);
                return false;
            }
            band(xcb_get_image_data(image.get()), rows, std::ptrdiff_t(rect.width) * 4);
        }
        return true;
    }

    // The same through two shared-memory segments of a band each, which the server fills in turn:
    // no pixel goes through the connection, and the memory is touched once, not once per band.
    // Nullopt, with no rows handed on, where the server cannot attach our memory (a remote display).
    std::optional<bool> bandsViaSharedMemory(const PixelRect& rect, int bandRows, const BandSink& band)
    {
        const xcb_query_extension_reply_t* extension = xcb_get_extension_data(connection, &xcb_shm_id);
        if (!extension || !extension->present)
            return std::nullopt;
        const size_t bandBytes = size_t(rect.width) * size_t(std::min(bandRows, rect.height)) * 4;
        std::shared_ptr<Segment> halves[2] = {attachSegment(bandBytes), nullptr};
        if (halves[0] && rect.height > bandRows)
            halves[1] = attachSegment(bandBytes);
        if (!halves[0] || (rect.height > bandRows && !halves[1])) {
            for (const auto& segment : halves)
                if (segment)
                    xcb_shm_detach(connection, segment->id);
            return std::nullopt;
        }
        auto request = [&](int y) {
            const xcb_shm_get_image_cookie_t cookie
                = xcb_shm_get_image(connection, screen->root, int16_t(rect.x), int16_t(rect.y + y),
                    uint16_t(rect.width), uint16_t(std::min(bandRows, rect.height - y)), ~0u,
                    XCB_IMAGE_FORMAT_Z_PIXMAP, halves[(y / bandRows) % 2]->id, 0);
            xcb_flush(connection);
            return cookie;
        };
        bool read = true;
        xcb_shm_get_image_cookie_t next = request(0);
        for (int y = 0; y < rect.height && read; y += bandRows) {
            auto image = xcbReply(xcb_shm_get_image_reply(connection, next, nullptr));
            const bool more = y + bandRows < rect.height;
            if (more)
                next = request(y + bandRows);
            const int rows = std::min(bandRows, rect.height - y);
            read = image && image->size >= uint32_t(rect.width) * uint32_t(rows) * 4;
            if (read)
                band(halves[(y / bandRows) % 2]->data, rows, std::ptrdiff_t(rect.width) * 4);
            else if (more)
                xcb_discard_reply(connection, next.sequence);
        }
        for (const auto& segment : halves)
            if (segment)
                xcb_shm_detach(connection, segment->id);
        return read;
    }

    // Empty when no segment is free or the read fails; the caller then reads the plain way.
    ScreenPixels viaSharedMemory(xcb_drawable_t drawable, const PixelRect& r)
    {
        // Four bytes a pixel hold a row of any layout, padding included.
        const auto segment = freeSegment(size_t(r.width) * size_t(r.height) * 4);
        if (!segment)
            return {};
        auto image = xcbReply(xcb_shm_get_image_reply(connection,
            xcb_shm_get_image(connection, drawable, int16_t(r.x), int16_t(r.y), uint16_t(r.width),
                uint16_t(r.height), ~0u, XCB_IMAGE_FORMAT_Z_PIXMAP, segment->id, 0),
            nullptr));
        if (!image)
            return {};
        // A buffer that shows the segment's pixels keeps it until the buffer goes; a converted copy
        // lets it go at once.
        segment->shown = true;
        std::shared_ptr<void> keeper(segment->data, [segment](void*) { segment->shown = false; });
        return pixelsOf(image->depth, image->visual, segment->data, std::ptrdiff_t(segment->size), r.size(),
            std::move(keeper));
    }
};

xcb_screen_t* xcbScreen(xcb_connection_t* connection, int number)
{
    for (auto roots = xcb_setup_roots_iterator(xcb_get_setup(connection)); roots.rem; xcb_screen_next(&roots))
        if (number-- == 0)
            return roots.data;
    return nullptr;
}

int screenNumberOf(const std::string& display)
{
    char* host = nullptr;
    int number = 0, screen = 0;
    if (!xcb_parse_display(display.c_str(), &host, &number, &screen))
        screen = 0;
    std::free(host);
    return screen;
}

XcbScreenReader::XcbScreenReader(xcb_connection_t* connection, bool sharedMemory, int screenNumber)
    : d(std::make_unique<Private>())
{
    d->connection = connection;
    if (!connection || xcb_connection_has_error(connection))
        return;
    d->screen = xcbScreen(connection, screenNumber);
    if (!d->screen) {
        const int screens = xcb_setup_roots_length(xcb_get_setup(connection));
        d->readability = fail("the X display has no screen " + std::to_string(screenNumber) + " (it has "
            + (screens == 1 ? std::string("only screen 0") : "screens 0 to " + std::to_string(screens - 1))
            + ")");
        return;
    }
    d->rootLayout = d->layoutOf(d->screen->root_depth, d->screen->root_visual);
    if (d->rootLayout) {
        d->directLayout = isRgb32AsIs(*d->rootLayout);
    } else {
        const xcb_visualtype_t* type = d->visualType(d->screen->root_visual);
        d->readability = fail(unreadablePixelFormat(d->screen->root_depth, type ? type->_class : -1));
    }
    if (sharedMemory)
        d->shmUsable
            = xcbReply(xcb_shm_query_version_reply(connection, xcb_shm_query_version(connection), nullptr))
            != nullptr;
}

XcbScreenReader::~XcbScreenReader()
{
    if (d->screen)
        d->detachSegments();
}

Status XcbScreenReader::readable() const
{
    return d->readability;
}

bool XcbScreenReader::readsTwoRectanglesAtOnce() const
{
    return !d->shmUsable;
}

bool XcbScreenReader::usesSharedMemory() const
{
    return d->shmUsable;
}

PixelSize XcbScreenReader::desktopSize() const
{
    return d->screen ? PixelSize{d->screen->width_in_pixels, d->screen->height_in_pixels} : PixelSize{};
}

std::optional<PixelSize> XcbScreenReader::drawableSize(uint32_t drawable) const
{
    if (!d->screen)
        return std::nullopt;
    if (!drawable)
        return desktopSize();
    auto geometry
        = xcbReply(xcb_get_geometry_reply(d->connection, xcb_get_geometry(d->connection, drawable), nullptr));
    if (!geometry)
        return std::nullopt;
    return PixelSize{geometry->width, geometry->height};
}

ScreenPixels XcbScreenReader::read(uint32_t drawable, const PixelRect& rect)
{
    if (!d->screen || !d->readability || rect.isEmpty())
        return {};
    const xcb_drawable_t target = drawable ? drawable : d->screen->root;
    ScreenPixels pixels;
    if (d->shmUsable)
        pixels = d->viaSharedMemory(target, rect);
    if (pixels.isEmpty())
        pixels = d->viaGetImage(target, rect);
    return pixels;
}

ScreenPixels XcbScreenReader::readDesktop(const PixelRect& rect)
{
    return read(0, rect);
}

bool XcbScreenReader::readDesktopInBands(const PixelRect& rect, int bandRows, const BandSink& band)
{
    const PixelSize desktop = desktopSize();
    if (!d->screen || !d->directLayout || bandRows < 1
        || !PixelRect{0, 0, desktop.width, desktop.height}.contains(rect))
        return false;
    if (const std::optional<bool> read = d->bandsViaSharedMemory(rect, bandRows, band))
        return *read;
    return d->bandsViaGetImage(rect, bandRows, band);
}

std::unique_ptr<XcbScreenReader> XcbScreenReader::connect(const std::string& display, bool sharedMemory)
{
    // The screen is looked for here, not by xcb_connect, so that a missing one is said as such.
    std::unique_ptr<xcb_connection_t, void (*)(xcb_connection_t*)> connection(
        xcb_connect(display.c_str(), nullptr), &xcb_disconnect);
    if (xcb_connection_has_error(connection.get()))
        return nullptr;
    auto reader = std::make_unique<XcbScreenReader>(connection.get(), sharedMemory, screenNumberOf(display));
    reader->d->owned = std::move(connection);
    return reader;
}

} // namespace quorvex
