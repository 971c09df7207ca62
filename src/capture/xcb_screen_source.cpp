#include "capture/xcb_screen_source.h"

#include "capture/grab_window_rect.h"
#include "capture/pixel_layout.h"

#include <QGuiApplication>
#include <cstdlib>
#include <optional>
#include <sys/ipc.h>
#include <sys/shm.h>
#include <vector>
#include <xcb/shm.h>
#include <xcb/xcb.h>

namespace quorvex {

namespace {

template <typename T> using Reply = std::unique_ptr<T, decltype(&std::free)>;

template <typename T> Reply<T> reply(T* raw)
{
    return Reply<T>(raw, &std::free);
}

// Bytes of pixel data after a GetImage reply's header; xcb's own count is an int, which a reply of
// 2 GB or more would overflow.
qsizetype replyDataLength(uint32_t lengthInWords)
{
    return qsizetype(lengthInWords) * 4;
}

} // namespace

struct XcbScreenSource::Private {
    xcb_connection_t* connection = nullptr;
    xcb_screen_t* screen = nullptr;
    std::optional<PixelLayout> rootLayout; // none when the root's pixels cannot be converted
    bool directLayout = false; // the root's pixels are Format_RGB32's bytes: pictures need no copy
    QString unreadable; // why the screen cannot be read; empty when it can

    bool shmUsable = false; // cleared for good when the server cannot attach our memory (a remote display)
    // Shared-memory segments the server writes grabs into. A picture shows its segment's pixels
    // directly and keeps it until the picture is let go; the overlay's grabs replace one another, so
    // a few segments go round.
    struct Segment {
        xcb_shm_seg_t id = 0;
        uchar* data = nullptr;
        size_t size = 0;
        bool shown = false; // a picture holds it

        ~Segment() { shmdt(data); }
    };
    static constexpr int kMaxSegments = 4;
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
        segment->data = static_cast<uchar*>(address);
        segment->size = bytes;
        segment->id = xcb_generate_id(connection);
        xcb_generic_error_t* error
            = xcb_request_check(connection, xcb_shm_attach_checked(connection, segment->id, id, 0));
        if (error) {
            std::free(error);
            shmUsable = false;
            return nullptr;
        }
        return segment;
    }

    // A segment no picture shows, of at least `bytes`; a new one while there are few.
    std::shared_ptr<Segment> freeSegment(size_t bytes)
    {
        for (auto it = segments.begin(); it != segments.end(); ++it) {
            if ((*it)->shown)
                continue;
            if ((*it)->size >= bytes)
                return *it;
            xcb_shm_detach(connection, (*it)->id); // too small for this grab: make room
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
        // Pictures still showing a segment keep its memory mapped until they go.
        for (const auto& segment : segments)
            xcb_shm_detach(connection, segment->id);
        segments.clear();
    }

    // How pixels of a reply with this depth and visual lie; nullopt for a visual without true
    // colours in its pixels (a palette).
    std::optional<PixelLayout> layoutOf(uint8_t depth, xcb_visualid_t visual) const
    {
        const xcb_setup_t* setup = xcb_get_setup(connection);
        std::optional<PixelLayout> layout;
        for (auto f = xcb_setup_pixmap_formats_iterator(setup); f.rem; xcb_format_next(&f))
            if (f.data->depth == depth) {
                layout = PixelLayout{};
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

    // The picture for `pixels` of a reply: its own bytes when they are Format_RGB32's (`keep` then
    // holds them until the picture goes, `release` lets them go), a converted copy otherwise.
    QImage pictureOf(uint8_t depth, xcb_visualid_t visual, uchar* pixels, qsizetype length, QSize size,
        QImageCleanupFunction release, void* keep)
    {
        const std::optional<PixelLayout> layout
            = depth == screen->root_depth && visual == screen->root_visual && rootLayout
            ? rootLayout
            : layoutOf(depth, visual);
        const qsizetype stride = layout ? bytesPerRow(*layout, size.width()) : 0;
        QImage picture;
        if (stride > 0 && length >= stride * size.height()) {
            if (isRgb32AsIs(*layout)) {
                QImage shown(
                    pixels, size.width(), size.height(), stride, QImage::Format_RGB32, release, keep);
                if (!shown.isNull())
                    return shown; // from now on the picture lets the bytes go
            } else {
                picture = convertToRgb32(*layout, pixels, stride, size.width(), size.height());
            }
        }
        release(keep);
        return picture;
    }

    QImage viaGetImage(xcb_drawable_t drawable, const QRect& r)
    {
        auto image = reply(xcb_get_image_reply(connection,
            xcb_get_image(
                connection, XCB_IMAGE_FORMAT_Z_PIXMAP, drawable, r.x(), r.y(), r.width(), r.height(), ~0u),
            nullptr));
        if (!image)
            return {};
        const uint8_t depth = image->depth;
        const xcb_visualid_t visual = image->visual;
        uchar* data = xcb_get_image_data(image.get());
        const qsizetype length = replyDataLength(image->length);
        // The reply's memory becomes the picture's buffer when it can; freed with the last copy.
        return pictureOf(depth, visual, data, length, r.size(), &std::free, image.release());
    }

    // Empty when no segment is free or the read fails; the caller then reads the plain way.
    QImage viaSharedMemory(xcb_drawable_t drawable, const QRect& r)
    {
        // Four bytes a pixel hold a row of any layout, padding included.
        const auto segment = freeSegment(size_t(r.width()) * size_t(r.height()) * 4);
        if (!segment)
            return {};
        auto image = reply(xcb_shm_get_image_reply(connection,
            xcb_shm_get_image(connection, drawable, r.x(), r.y(), r.width(), r.height(), ~0u,
                XCB_IMAGE_FORMAT_Z_PIXMAP, segment->id, 0),
            nullptr));
        if (!image)
            return {};
        // A picture that shows the segment's pixels keeps it until the picture goes; a converted
        // copy lets it go at once.
        segment->shown = true;
        auto* holder = new std::shared_ptr<Segment>(segment);
        return pictureOf(
            image->depth, image->visual, segment->data, qsizetype(segment->size), r.size(),
            [](void* held) {
                auto* kept = static_cast<std::shared_ptr<Segment>*>(held);
                (*kept)->shown = false;
                delete kept;
            },
            holder);
    }
};

XcbScreenSource::XcbScreenSource(xcb_connection_t* connection, bool sharedMemory)
    : d(std::make_unique<Private>())
{
    d->connection = connection;
    if (!connection || xcb_connection_has_error(connection))
        return;
    d->screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    d->rootLayout = d->layoutOf(d->screen->root_depth, d->screen->root_visual);
    if (d->rootLayout) {
        d->directLayout = isRgb32AsIs(*d->rootLayout);
    } else {
        const xcb_visualtype_t* type = d->visualType(d->screen->root_visual);
        d->unreadable = unreadablePixelFormat(d->screen->root_depth, type ? type->_class : -1);
    }
    if (sharedMemory) {
        auto version
            = reply(xcb_shm_query_version_reply(connection, xcb_shm_query_version(connection), nullptr));
        d->shmUsable = version != nullptr;
    }
}

XcbScreenSource::~XcbScreenSource()
{
    if (d->connection)
        d->detachSegments();
}

xcb_connection_t* XcbScreenSource::qtConnection()
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

QString XcbScreenSource::unreadableReason() const
{
    return d->unreadable;
}

bool XcbScreenSource::usesSharedMemory() const
{
    return d->shmUsable;
}

QSize XcbScreenSource::screenSize() const
{
    return d->screen ? QSize(d->screen->width_in_pixels, d->screen->height_in_pixels) : QSize();
}

bool XcbScreenSource::readDesktopInBands(const QRect& rect, int bandRows, const BandSink& band)
{
    if (!d->screen || !d->directLayout || rect.isEmpty() || bandRows < 1
        || !QRect(QPoint(0, 0), screenSize()).contains(rect))
        return false;
    auto request = [&](int y) {
        return xcb_get_image(d->connection, XCB_IMAGE_FORMAT_Z_PIXMAP, d->screen->root, rect.x(),
            rect.y() + y, rect.width(), std::min(bandRows, rect.height() - y), ~0u);
    };
    xcb_get_image_cookie_t next = request(0);
    for (int y = 0; y < rect.height(); y += bandRows) {
        auto image = reply(xcb_get_image_reply(d->connection, next, nullptr));
        if (y + bandRows < rect.height())
            next = request(y + bandRows);
        const int rows = std::min(bandRows, rect.height() - y);
        if (!image || replyDataLength(image->length) < qsizetype(rect.width()) * rows * 4) {
            if (y + bandRows < rect.height())
                std::free(xcb_get_image_reply(d->connection, next, nullptr));
            return false;
        }
        band(xcb_get_image_data(image.get()), rows, qsizetype(rect.width()) * 4);
    }
    return true;
}

QImage XcbScreenSource::grab(WId window, bool clientArea, const QRect& rect)
{
    if (!d->screen || !d->unreadable.isEmpty() || rect.isEmpty())
        return {};
    const QRect source = clientAreaRect(window, clientArea, rect);
    const xcb_drawable_t drawable = window ? xcb_drawable_t(window) : d->screen->root;
    QSize drawableSize = screenSize();
    if (window) {
        auto geometry = reply(
            xcb_get_geometry_reply(d->connection, xcb_get_geometry(d->connection, drawable), nullptr));
        if (!geometry)
            return {};
        drawableSize = QSize(geometry->width, geometry->height);
    }

    // The server refuses rectangles that leave the drawable: read the part inside, black elsewhere.
    const QRect inside = source & QRect(QPoint(0, 0), drawableSize);
    QImage pixels;
    if (!inside.isEmpty()) {
        if (d->shmUsable)
            pixels = d->viaSharedMemory(drawable, inside);
        if (pixels.isNull())
            pixels = d->viaGetImage(drawable, inside);
        if (pixels.isNull())
            return {}; // never a picture that is not the screen
    }
    return placedOnBlack(rect.size(), pixels, inside.topLeft() - source.topLeft());
}

} // namespace quorvex
