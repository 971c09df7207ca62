#include "platform/wayland/screencopy_reader.h"

#include "platform/wayland/desktop_layout.h"
#include "platform/wayland/shm_memory.h"
#include "platform/wayland/wayland_connection.h"
#include "wlr-screencopy-unstable-v1-client-protocol.h"

#include <algorithm>
#include <new>
#include <vector>
#include <wayland-client.h>

namespace quorvex {

namespace {

// Shared memory the compositor copies an output (or a part of it) into: one mapping kept while it
// is large enough and no picture holds it, its wl_buffer made again only when a copy's layout
// differs from the last one's.
struct ShmBuffer {
    std::shared_ptr<ShmMemory> memory; // shared with the picture it is lent to
    wl_buffer* buffer = nullptr;
    int width = 0, height = 0, stride = 0;
    uint32_t format = 0;

    ~ShmBuffer()
    {
        if (buffer)
            wl_buffer_destroy(buffer);
    }
    unsigned char* data() const { return memory->data(); }
};

// What one copy of an output is told by the compositor.
struct Frame {
    bool bufferOffered = false;
    uint32_t format = 0;
    int width = 0, height = 0, stride = 0;
    bool offersDone = false; // version 3: all buffer types are told
    bool yInverted = false;
    bool ready = false, failed = false;
    std::string refusal; // why the shared-memory buffer offered cannot be read; empty when it can
};

// Pixel formats we take: 32-bit words with red above green above blue (wl_shm's XRGB/ARGB8888).
bool isXrgbWord(uint32_t format)
{
    return format == WL_SHM_FORMAT_XRGB8888 || format == WL_SHM_FORMAT_ARGB8888;
}

// An output copied for a read into its buffer, and where its copy lies in the desktop's picture.
struct Copied {
    const WaylandOutput* output;
    const ShmBuffer* buffer;
    PixelRect inPicture;
    bool yInverted = false;
};

// The part `rect` of the picture straight from the copy's buffer, which is lent to it: where the
// copy covers all of it pixel for pixel, upright. Empty otherwise.
ScreenPixels lentPicture(const Copied& copied, const PixelRect& rect)
{
    const ShmBuffer* buffer = copied.buffer;
    if (!buffer || copied.yInverted || copied.output->transform != WL_OUTPUT_TRANSFORM_NORMAL
        || buffer->width != copied.inPicture.width || buffer->height != copied.inPicture.height
        || !copied.inPicture.contains(rect))
        return {};
    unsigned char* first = buffer->data() + std::ptrdiff_t(rect.y - copied.inPicture.y) * buffer->stride
        + std::ptrdiff_t(rect.x - copied.inPicture.x) * 4;
    return {first, rect.width, rect.height, buffer->stride, buffer->memory};
}

} // namespace

struct ScreencopyReader::Private {
    std::unique_ptr<WaylandConnection> connection;
    wl_display* display = nullptr;
    wl_shm* shm = nullptr;
    zwlr_screencopy_manager_v1* screencopy = nullptr;
    uint32_t screencopyVersion = 0;
    // Each output's buffer, kept for the next copy.
    std::vector<std::pair<const WaylandOutput*, std::unique_ptr<ShmBuffer>>> buffers;
    Status refusal; // fails once the compositor's numbers were refused
    int overlayCursor = 0; // 1: the compositor draws the pointer into the copies

    ~Private()
    {
        buffers.clear();
        if (screencopy)
            zwlr_screencopy_manager_v1_destroy(screencopy);
        if (shm)
            wl_shm_destroy(shm);
    }

    std::unique_ptr<ShmBuffer>& bufferOf(const WaylandOutput& output)
    {
        for (auto& [owner, buffer] : buffers)
            if (owner == &output)
                return buffer;
        return buffers.emplace_back(&output, nullptr).second;
    }

    static void frameBuffer(void* data, zwlr_screencopy_frame_v1*, uint32_t format, uint32_t width,
        uint32_t height, uint32_t stride)
    {
        auto* frame = static_cast<Frame*>(data);
        // Checked before anything is sized or read by these numbers.
        if (Status layout = checkOutputBuffer(width, height, stride); !layout) {
            frame->refusal = layout.error();
            return;
        }
        frame->bufferOffered = true;
        frame->format = format;
        frame->width = int(width);
        frame->height = int(height);
        frame->stride = int(stride);
    }
    static void frameFlags(void* data, zwlr_screencopy_frame_v1*, uint32_t flags)
    {
        static_cast<Frame*>(data)->yInverted = flags & ZWLR_SCREENCOPY_FRAME_V1_FLAGS_Y_INVERT;
    }
    static void frameReady(void* data, zwlr_screencopy_frame_v1*, uint32_t, uint32_t, uint32_t)
    {
        static_cast<Frame*>(data)->ready = true;
    }
    static void frameFailed(void* data, zwlr_screencopy_frame_v1*)
    {
        static_cast<Frame*>(data)->failed = true;
    }
    static void frameDamage(void*, zwlr_screencopy_frame_v1*, uint32_t, uint32_t, uint32_t, uint32_t) { }
    static void frameDmabuf(void*, zwlr_screencopy_frame_v1*, uint32_t, uint32_t, uint32_t) { }
    static void frameBufferDone(void* data, zwlr_screencopy_frame_v1*)
    {
        static_cast<Frame*>(data)->offersDone = true;
    }
    static constexpr zwlr_screencopy_frame_v1_listener kFrameListener = {
        &frameBuffer, &frameFlags, &frameReady, &frameFailed, &frameDamage, &frameDmabuf, &frameBufferDone};

    // A buffer of the frame's layout in the output's kept memory, which is replaced only when too
    // small or still lent to a picture.
    ShmBuffer* bufferFor(const WaylandOutput& output, const Frame& frame)
    {
        const size_t size = size_t(frame.stride) * size_t(frame.height);
        std::unique_ptr<ShmBuffer>& owned = bufferOf(output);
        ShmBuffer* kept = owned.get();
        if (!kept || kept->memory.use_count() > 1 || kept->memory->size() < size) {
            owned.reset();
            auto buffer = std::make_unique<ShmBuffer>();
            buffer->memory = ShmMemory::create(size);
            if (!buffer->memory)
                return nullptr;
            owned = std::move(buffer);
            kept = owned.get();
        }
        if (kept->buffer && kept->width == frame.width && kept->height == frame.height
            && kept->stride == frame.stride && kept->format == frame.format)
            return kept;
        if (kept->buffer)
            wl_buffer_destroy(kept->buffer);
        kept->buffer = kept->memory->createBuffer(shm, frame.width, frame.height, frame.stride, frame.format);
        kept->width = frame.width;
        kept->height = frame.height;
        kept->stride = frame.stride;
        kept->format = frame.format;
        return kept;
    }

    // Copies `region` of the output (its own logical pixels) into its buffer; null when the
    // compositor refuses or goes away.
    const ShmBuffer* copyOutput(const WaylandOutput& output, const PixelRect& region, bool& yInverted)
    {
        Frame frame;
        zwlr_screencopy_frame_v1* request = zwlr_screencopy_manager_v1_capture_output_region(
            screencopy, overlayCursor, output.output, region.x, region.y, region.width, region.height);
        zwlr_screencopy_frame_v1_add_listener(request, &kFrameListener, &frame);
        const auto waitFor = [&](const bool& done) {
            while (!done && !frame.failed)
                if (wl_display_dispatch(display) < 0)
                    return false;
            return !frame.failed;
        };
        // Version 3 tells every buffer type, then buffer_done; before that, the shm offer is all.
        bool offered = waitFor(screencopyVersion >= 3 ? frame.offersDone : frame.bufferOffered);
        ShmBuffer* buffer
            = offered && frame.bufferOffered && isXrgbWord(frame.format) ? bufferFor(output, frame) : nullptr;
        if (buffer) {
            zwlr_screencopy_frame_v1_copy(request, buffer->buffer);
            offered = waitFor(frame.ready);
        }
        zwlr_screencopy_frame_v1_destroy(request);
        yInverted = frame.yInverted;
        if (!frame.refusal.empty() && !frame.bufferOffered)
            refusal = fail(frame.refusal);
        return buffer && offered && frame.ready ? buffer : nullptr;
    }
};

ScreencopyReader::ScreencopyReader()
    : d(std::make_unique<Private>())
{
}

ScreencopyReader::~ScreencopyReader() = default;

Result<std::unique_ptr<ScreencopyReader>> ScreencopyReader::connect(const std::string& display)
{
    Result<std::unique_ptr<WaylandConnection>> connection = WaylandConnection::open(display);
    if (!connection)
        return fail(connection.error());
    std::unique_ptr<ScreencopyReader> reader(new ScreencopyReader);
    Private& d = *reader->d;
    d.connection = std::move(connection).value();
    d.display = d.connection->display();
    d.connection->setOutputGone([&d](const WaylandOutput& output) {
        std::erase_if(d.buffers, [&](const auto& kept) { return kept.first == &output; });
    });
    d.shm = d.connection->bind<wl_shm>(wl_shm_interface, 1);
    d.screencopy = d.connection->bind<zwlr_screencopy_manager_v1>(zwlr_screencopy_manager_v1_interface, 3);
    if (d.screencopy)
        d.screencopyVersion = wl_proxy_get_version(reinterpret_cast<wl_proxy*>(d.screencopy));
    // Each output's description and place.
    if (const Status answered = d.connection->readOutputs(); !answered)
        return fail(answered.error());
    if (!d.screencopy || !d.shm)
        return fail("this Wayland compositor offers no screen copy (zwlr_screencopy_manager_v1)");
    if (d.connection->outputs().empty())
        return fail("this Wayland desktop has no output");
    if (const Result<DesktopPicture> layout = desktopPicture(d.connection->places()); !layout)
        return fail(layout.error());
    return reader;
}

PixelSize ScreencopyReader::desktopSize() const
{
    const Result<DesktopPicture> layout = desktopPicture(d->connection->places());
    return layout ? layout->size : PixelSize{};
}

void ScreencopyReader::setPointerDrawn(bool drawn)
{
    d->overlayCursor = drawn ? 1 : 0;
}

Status ScreencopyReader::readable() const
{
    return d->refusal;
}

ScreenPixels ScreencopyReader::readDesktop(const PixelRect& rect)
{
    const std::vector<OutputPlace> places = d->connection->places();
    const Result<DesktopPicture> checked = desktopPicture(places);
    if (!checked) {
        d->refusal = fail(checked.error());
        return {};
    }
    const DesktopPicture& layout = *checked;
    if (rect.isEmpty() || !PixelRect{0, 0, layout.size.width, layout.size.height}.contains(rect))
        return {};
    // Only the part of each output the rectangle covers is copied. Of a turned output, all of it:
    // wlroots 0.15 turns the region the wrong way round there. Of an output at a fractional scale,
    // all of it too: the compositor rounds a part's edges to its pixels its own way, and the part
    // would not hold the pixels the whole output's copy has there.
    std::vector<Copied> copies;
    const auto& outputs = d->connection->outputs();
    for (size_t i = 0; i < outputs.size(); ++i) {
        OutputRegion region = regionOfOutput(layout, places[i], rect);
        if (region.logical.isEmpty())
            continue;
        const WaylandOutput& output = *outputs[i];
        const OutputPlace& place = places[i];
        const bool fractional = place.device.width % place.logical.width != 0
            || place.device.height % place.logical.height != 0;
        if (output.transform != WL_OUTPUT_TRANSFORM_NORMAL || fractional)
            region = {{0, 0, place.logical.width, place.logical.height}, placeInPicture(layout, place)};
        Copied copied{&output, nullptr, region.inPicture};
        copied.buffer = d->copyOutput(output, region.logical, copied.yInverted);
        if (!copied.buffer)
            return {};
        copies.push_back(copied);
    }
    if (copies.size() == 1) // the usual case: the buffer is the picture, no copy of its pixels made
        if (ScreenPixels lent = lentPicture(copies.front(), rect); !lent.isEmpty())
            return lent;
    const size_t count = size_t(rect.width) * size_t(rect.height);
    std::shared_ptr<uint32_t[]> words;
    try {
        words.reset(new uint32_t[count]); // not touched twice where the outputs cover it all
    } catch (const std::bad_alloc&) {
        return {};
    }
    // Black where no output lies (outputs of a layout never overlap).
    size_t covered = 0;
    for (const Copied& copied : copies) {
        const PixelRect part = copied.inPicture.intersected(rect);
        covered += size_t(part.width) * size_t(part.height);
    }
    if (covered < count)
        std::fill_n(words.get(), count, 0xff000000u);
    ScreenPixels picture{reinterpret_cast<unsigned char*>(words.get()), rect.width, rect.height,
        std::ptrdiff_t(rect.width) * 4, words};
    for (const Copied& copied : copies) {
        const ShmBuffer& buffer = *copied.buffer;
        const ScreenPixels pixels{buffer.data(), buffer.width, buffer.height, buffer.stride, nullptr};
        const PixelRect place{copied.inPicture.x - rect.x, copied.inPicture.y - rect.y,
            copied.inPicture.width, copied.inPicture.height};
        if (Status drawn = drawOutput(picture, place, pixels, copied.yInverted, copied.output->transform);
            !drawn) {
            d->refusal = drawn;
            return {};
        }
    }
    return picture;
}

bool ScreencopyReader::readDesktopInBands(const PixelRect& rect, int bandRows, const BandSink& band)
{
    const ScreenPixels picture = readDesktop(rect);
    if (picture.isEmpty() || bandRows < 1)
        return false;
    const ShmMemory* lender = nullptr;
    for (const auto& [output, buffer] : d->buffers)
        if (buffer && buffer->memory.get() == picture.keeper.get())
            lender = buffer->memory.get();
    // The compositor's pages read through the file a band at a time, into one buffer that stays in
    // the cache: mapping each page here would cost a fault at its first read, and its unmapping more.
    std::unique_ptr<unsigned char[]> copy;
    const size_t bandBytes = size_t(picture.stride) * size_t(std::min(bandRows, picture.height));
    if (lender)
        copy.reset(new (std::nothrow) unsigned char[bandBytes]);
    for (int y = 0; y < picture.height; y += bandRows) {
        const int rows = std::min(bandRows, picture.height - y);
        const unsigned char* first = picture.bits + std::ptrdiff_t(y) * picture.stride;
        const size_t bytes = size_t(picture.stride) * size_t(rows - 1) + size_t(picture.width) * 4;
        if (copy && lender->copyOut(size_t(first - lender->data()), copy.get(), bytes))
            first = copy.get();
        band(first, rows, picture.stride); // else straight from the mapping
    }
    return true;
}

} // namespace quorvex
