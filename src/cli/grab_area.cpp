#include "cli/grab_area.h"

#include "platform/grab_desktop.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

namespace quorvex {

namespace {

// Reads from a picture of the desktop already taken: what the selection showed.
class StillReader final : public ScreenReader {
public:
    explicit StillReader(ScreenPixels still)
        : m_still(std::move(still))
    {
    }
    PixelSize desktopSize() const override { return {m_still.width, m_still.height}; }
    ScreenPixels readDesktop(const PixelRect& rect) override
    {
        if (!PixelRect{0, 0, m_still.width, m_still.height}.contains(rect))
            return {};
        return {m_still.bits + rect.y * m_still.stride + std::ptrdiff_t(rect.x) * 4, rect.width, rect.height,
            m_still.stride, m_still.keeper};
    }
    bool readDesktopInBands(const PixelRect& rect, int bandRows, const BandSink& band) override
    {
        const ScreenPixels part = readDesktop(rect);
        if (part.isEmpty() || bandRows < 1)
            return false;
        for (int y = 0; y < part.height; y += bandRows)
            band(part.bits + y * part.stride, std::min(bandRows, part.height - y), part.stride);
        return true;
    }

private:
    ScreenPixels m_still;
};

// One output of a desktop picture made at a larger scale than the output's own, at its own pixels:
// the picture repeats each of them once or more each way, as the nearest of them to each picture
// pixel, so its own pixel i lies at the picture's pixel ceil(i * place / own) of the place.
class OutputPixelsReader final : public ScreenReader {
public:
    OutputPixelsReader(std::unique_ptr<ScreenReader> inner, const PixelRect& place, const PixelSize& own)
        : m_inner(std::move(inner))
        , m_place(place)
        , m_own(own)
    {
    }
    PixelSize desktopSize() const override { return m_own; }
    Status readable() const override { return m_inner->readable(); }
    ScreenPixels readDesktop(const PixelRect& rect) override
    {
        if (rect.isEmpty() || !PixelRect{0, 0, m_own.width, m_own.height}.contains(rect))
            return {};
        const int left = column(rect.x), top = row(rect.y);
        const ScreenPixels wide = m_inner->readDesktop({m_place.x + left, m_place.y + top,
            column(rect.x + rect.width - 1) - left + 1, row(rect.y + rect.height - 1) - top + 1});
        if (wide.isEmpty())
            return {};
        std::shared_ptr<uint32_t[]> words(
            new (std::nothrow) uint32_t[size_t(rect.width) * size_t(rect.height)]);
        if (!words)
            return {};
        for (int y = 0; y < rect.height; ++y) {
            const auto* in = reinterpret_cast<const uint32_t*>(
                wide.bits + std::ptrdiff_t(row(rect.y + y) - top) * wide.stride);
            uint32_t* out = words.get() + size_t(y) * size_t(rect.width);
            for (int x = 0; x < rect.width; ++x)
                out[x] = in[column(rect.x + x) - left];
        }
        return {reinterpret_cast<unsigned char*>(words.get()), rect.width, rect.height,
            std::ptrdiff_t(rect.width) * 4, words};
    }

private:
    int column(int i) const { return int((int64_t(i) * m_place.width + m_own.width - 1) / m_own.width); }
    int row(int i) const { return int((int64_t(i) * m_place.height + m_own.height - 1) / m_own.height); }

    std::unique_ptr<ScreenReader> m_inner;
    PixelRect m_place;
    PixelSize m_own;
};

std::string scaleText(double scale)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", scale);
    std::string result = text;
    while (result.back() == '0')
        result.pop_back();
    if (result.back() == '.')
        result.pop_back();
    return result;
}

std::string namesOf(const std::vector<DesktopOutput>& outputs)
{
    std::string names;
    for (const DesktopOutput& output : outputs)
        names += (names.empty() ? "" : ", ") + output.name;
    return names;
}

// All of `whole` in memory of its own: read in bands where `inBands` and the reader can (through
// shared memory, with no copy through a connection), else at once.
ScreenPixels readStill(ScreenReader& reader, const PixelRect& whole, bool inBands)
{
    if (!inBands)
        return reader.readDesktop(whole);
    const size_t words = size_t(whole.width) * size_t(whole.height);
    std::shared_ptr<uint32_t[]> memory(new (std::nothrow) uint32_t[words]);
    if (!memory)
        return {};
    ScreenPixels still{reinterpret_cast<unsigned char*>(memory.get()), whole.width, whole.height,
        std::ptrdiff_t(whole.width) * 4, memory};
    int row = 0;
    const bool banded = reader.readDesktopInBands(
        whole, 64, [&](const unsigned char* rows, int count, std::ptrdiff_t stride) {
            for (int y = 0; y < count && row < whole.height; ++y, ++row)
                std::memcpy(still.bits + std::ptrdiff_t(row) * still.stride, rows + y * stride,
                    size_t(whole.width) * 4);
        });
    if (banded && row == whole.height)
        return still;
    return reader.readDesktop(whole);
}

// The area the user selects on a still of the desktop, which `reader` then becomes.
Result<GrabAreaChoice> select(
    GrabDesktop& desktop, std::unique_ptr<ScreenReader> reader, const PixelRect& whole)
{
    ScreenPixels still = readStill(*reader, whole, desktop.stillInBands());
    if (still.isEmpty()) {
        const Status readable = reader->readable();
        return fail(readable ? "the screen could not be read" : readable.error());
    }
    const SelectionPainter painter(
        still.bits, still.stride, {still.width, still.height}, desktop.pictureScale(), still.keeper);
    const Result<AreaChoice> choice = desktop.select(painter);
    if (!choice)
        return fail(choice.error());
    GrabAreaChoice result;
    result.reader = std::make_unique<StillReader>(std::move(still));
    switch (choice->kind) {
    case AreaChoice::Kind::Cancelled:
        result.cancelled = true;
        return result;
    case AreaChoice::Kind::Area:
        result.region = choice->area.intersected(whole);
        return result;
    case AreaChoice::Kind::Click:
        break;
    }
    // The window under the click; on the bare desktop, the monitor there.
    if (const std::optional<PixelRect> window = desktop.windowAt(choice->at)) {
        result.region = *window;
        return result;
    }
    result.region = whole;
    if (const Result<std::vector<DesktopOutput>> outputs = desktop.outputs())
        for (const DesktopOutput& output : *outputs)
            if (output.picture.contains({choice->at.x, choice->at.y, 1, 1}))
                result.region = output.picture.intersected(whole);
    return result;
}

} // namespace

Result<GrabAreaChoice> chooseGrabArea(const CommandLine& command, const SessionEnvironment& session,
    std::unique_ptr<ScreenReader> reader, std::optional<ScreenSourceKind> source)
{
    const bool kwin = source == ScreenSourceKind::KWinScreenshot;
    const PixelSize size = reader->desktopSize();
    const PixelRect whole{0, 0, size.width, size.height};
    if (command.area == GrabArea::Desktop || command.area == GrabArea::Region) {
        if (command.pointer && !kwin) { // KWin has drawn it
            Result<std::unique_ptr<GrabDesktop>> desktop = openGrabDesktop(session);
            if (!desktop)
                return fail(desktop.error());
            Result<std::unique_ptr<ScreenReader>> drawing = (*desktop)->withPointer(std::move(reader));
            if (!drawing)
                return fail(drawing.error());
            reader = std::move(drawing).value();
        }
        const PixelRect region = command.region ? command.region->placedOn(size) : whole;
        if (!whole.contains(region))
            return fail("the region " + command.region->text() + " is not inside the "
                + std::to_string(size.width) + "x" + std::to_string(size.height) + " screen");
        return GrabAreaChoice{std::move(reader), region, false};
    }

    Result<std::unique_ptr<GrabDesktop>> opened = openGrabDesktop(session);
    if (!opened)
        return fail(opened.error());
    GrabDesktop& desktop = **opened;
    if (command.pointer && !kwin) {
        Result<std::unique_ptr<ScreenReader>> drawing = desktop.withPointer(std::move(reader));
        if (!drawing)
            return fail(drawing.error());
        reader = std::move(drawing).value();
    }
    switch (command.area) {
    case GrabArea::Select:
        return select(desktop, std::move(reader), whole);
    case GrabArea::Window: {
        if (kwin && command.print)
            return fail("KWin gives the focused window's picture but not where it lies: --window --print "
                        "needs X11 or sway");
        if (kwin) // the picture is the window's
            return GrabAreaChoice{std::move(reader), whole, false};
        const Result<PixelRect> window = desktop.focusedWindow();
        if (!window)
            return fail(window.error());
        return GrabAreaChoice{std::move(reader), window->intersected(whole), false};
    }
    case GrabArea::Output: {
        const Result<std::vector<DesktopOutput>> outputs = desktop.outputs();
        if (!outputs)
            return fail(outputs.error());
        for (const DesktopOutput& output : *outputs)
            if (output.name == command.output) {
                const PixelRect region = output.picture.intersected(whole);
                if (region.isEmpty())
                    return fail("the output '" + command.output + "' lies off the screen that is read");
                // An output of a lower scale than the picture's (1 beside 2, or 1.5): its own pixels,
                // not each repeated. Printed, it is where it lies in the desktop's picture, as --region
                // takes it.
                const PixelSize own{int(std::lround(output.desktop.width * output.scale)),
                    int(std::lround(output.desktop.height * output.scale))};
                if (!command.print && region == output.picture && own.width > 0 && own.height > 0
                    && own.width <= region.width && own.height <= region.height && own != region.size()) {
                    auto sampled = std::make_unique<OutputPixelsReader>(std::move(reader), region, own);
                    return GrabAreaChoice{std::move(sampled), {0, 0, own.width, own.height}, false};
                }
                return GrabAreaChoice{std::move(reader), region, false};
            }
        return fail("there is no output '" + command.output + "' (there are: " + namesOf(*outputs) + ")");
    }
    case GrabArea::Desktop:
    case GrabArea::Region:
        break;
    }
    return fail("no area chosen");
}

std::unique_ptr<ScreenReader> stillReader(ScreenPixels still)
{
    return std::make_unique<StillReader>(std::move(still));
}

Result<std::string> listOutputs(const SessionEnvironment& session)
{
    if (const Status startable = sessionFailure(session); !startable) // a source named wrongly, as for a grab
        return fail(startable.error());
    const Result<std::vector<DesktopOutput>> outputs = listDesktopOutputs(session);
    if (!outputs)
        return fail(outputs.error());
    std::string lines;
    for (const DesktopOutput& output : *outputs)
        lines += output.name + " " + regionText(output.desktop) + " scale " + scaleText(output.scale)
            + " pixels " + regionText(output.picture) + "\n";
    return lines;
}

} // namespace quorvex
