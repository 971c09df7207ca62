#include "common/area_selection.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace quorvex {

namespace {

constexpr uint32_t kBorder = 0xff3daee9u;
constexpr uint32_t kLabelBack = 0xff202020u;
constexpr uint32_t kLabelText = 0xffffffffu;

// Digits, "x" and a space, 5 x 7, one row a byte (the top bit the left column).
constexpr int kGlyphWidth = 5, kGlyphHeight = 7, kGlyphAdvance = 6;
constexpr uint8_t kGlyphs[12][kGlyphHeight] = {
    {0x70, 0x88, 0x98, 0xa8, 0xc8, 0x88, 0x70}, // 0
    {0x20, 0x60, 0x20, 0x20, 0x20, 0x20, 0x70}, // 1
    {0x70, 0x88, 0x08, 0x10, 0x20, 0x40, 0xf8}, // 2
    {0xf8, 0x10, 0x20, 0x10, 0x08, 0x88, 0x70}, // 3
    {0x10, 0x30, 0x50, 0x90, 0xf8, 0x10, 0x10}, // 4
    {0xf8, 0x80, 0xf0, 0x08, 0x08, 0x88, 0x70}, // 5
    {0x30, 0x40, 0x80, 0xf0, 0x88, 0x88, 0x70}, // 6
    {0xf8, 0x08, 0x10, 0x20, 0x40, 0x40, 0x40}, // 7
    {0x70, 0x88, 0x88, 0x70, 0x88, 0x88, 0x70}, // 8
    {0x70, 0x88, 0x88, 0x78, 0x08, 0x10, 0x60}, // 9
    {0x00, 0x00, 0x88, 0x50, 0x20, 0x50, 0x88}, // x
    {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}, // space
};

const uint8_t* glyph(char c)
{
    if (c >= '0' && c <= '9')
        return kGlyphs[c - '0'];
    return kGlyphs[c == 'x' ? 10 : 11];
}

// A glyph's pixel is this many logical pixels wide; the label stands this far from the pointer.
constexpr int kGlyphPixel = 2, kLabelPadding = 3, kLabelDistance = 16;

// The still's pixel at half its brightness, outside the area.
inline uint32_t dimmed(uint32_t pixel)
{
    return 0xff000000u | ((pixel >> 1) & 0x7f7f7fu);
}

PixelRect bounds(const PixelRect& a, const PixelRect& b)
{
    if (a.isEmpty())
        return b;
    if (b.isEmpty())
        return a;
    const int left = std::min(a.x, b.x), top = std::min(a.y, b.y);
    const int right = std::max(a.x + a.width, b.x + b.width),
              bottom = std::max(a.y + a.height, b.y + b.height);
    return {left, top, right - left, bottom - top};
}

PixelRect grown(const PixelRect& rect, int by)
{
    return {rect.x - by, rect.y - by, rect.width + 2 * by, rect.height + 2 * by};
}

} // namespace

PixelRect spannedArea(PixelPoint from, PixelPoint to)
{
    const int left = std::min(from.x, to.x), top = std::min(from.y, to.y);
    return {left, top, std::abs(to.x - from.x) + 1, std::abs(to.y - from.y) + 1};
}

void AreaDrag::press(PixelPoint at)
{
    m_pressed = true;
    m_from = m_to = at;
    m_furthest = 0;
}

void AreaDrag::move(PixelPoint to)
{
    m_to = to;
    if (m_pressed)
        m_furthest = std::max({m_furthest, std::abs(to.x - m_from.x), std::abs(to.y - m_from.y)});
}

bool AreaDrag::isClick(int scale) const
{
    return m_furthest <= kClickSlop * std::max(1, scale);
}

std::string areaSizeText(const PixelRect& area)
{
    return std::to_string(area.width) + " x " + std::to_string(area.height);
}

SelectionPainter::SelectionPainter(const unsigned char* still, std::ptrdiff_t stride, PixelSize size,
    int scale, std::shared_ptr<void> keeper)
    : m_still(still)
    , m_stride(stride)
    , m_keeper(std::move(keeper))
    , m_size(size)
    , m_scale(std::max(1, scale))
{
}

PixelRect SelectionPainter::labelBox(const SelectionScene& scene) const
{
    if (!scene.area || !scene.pointer)
        return {};
    const int unit = kGlyphPixel * m_scale;
    const int width = (int(areaSizeText(*scene.area).size()) * kGlyphAdvance - 1 + 2 * kLabelPadding) * unit;
    const int height = (kGlyphHeight + 2 * kLabelPadding) * unit;
    const int distance = kLabelDistance * m_scale;
    int x = scene.pointer->x + distance, y = scene.pointer->y + distance;
    if (x + width > m_size.width) // the other side of the pointer where this one has no room
        x = scene.pointer->x - distance - width;
    if (y + height > m_size.height)
        y = scene.pointer->y - distance - height;
    return {std::max(0, x), std::max(0, y), width, height};
}

std::vector<PixelRect> SelectionPainter::changed(
    const SelectionScene& before, const SelectionScene& after) const
{
    std::vector<PixelRect> parts;
    const PixelRect whole{0, 0, m_size.width, m_size.height};
    const auto add = [&](const PixelRect& rect) {
        if (const PixelRect inside = rect.intersected(whole); !inside.isEmpty())
            parts.push_back(inside);
    };
    add(labelBox(before));
    add(labelBox(after));
    if (before.area == after.area)
        return parts;
    const PixelRect outerBefore = before.area ? grown(*before.area, m_scale) : PixelRect{};
    const PixelRect outerAfter = after.area ? grown(*after.area, m_scale) : PixelRect{};
    const PixelRect all = bounds(outerBefore, outerAfter);
    // What lies inside both areas, away from both borders, keeps its pixels: the rest of the box around
    // both changes, in four strips round that hole.
    PixelRect kept = before.area && after.area ? before.area->intersected(*after.area) : PixelRect{};
    if (!kept.isEmpty())
        kept = {kept.x + 1, kept.y + 1, kept.width - 2, kept.height - 2};
    if (kept.isEmpty()) {
        add(all);
        return parts;
    }
    add({all.x, all.y, all.width, kept.y - all.y});
    add({all.x, kept.y + kept.height, all.width, all.y + all.height - kept.y - kept.height});
    add({all.x, kept.y, kept.x - all.x, kept.height});
    add({kept.x + kept.width, kept.y, all.x + all.width - kept.x - kept.width, kept.height});
    return parts;
}

uint32_t SelectionPainter::labelColour(const std::string& text, const PixelRect& label, int x, int y) const
{
    const int unit = kGlyphPixel * m_scale;
    const int column = (x - label.x) / unit - kLabelPadding, row = (y - label.y) / unit - kLabelPadding;
    if (row >= 0 && row < kGlyphHeight && column >= 0 && column < int(text.size()) * kGlyphAdvance
        && column % kGlyphAdvance < kGlyphWidth
        && (glyph(text[size_t(column / kGlyphAdvance)])[row] << (column % kGlyphAdvance)) & 0x80)
        return kLabelText;
    return kLabelBack;
}

PixelRect SelectionPainter::inView(const PixelRect& picturePart, const PixelRect& shown, PixelSize viewSize)
{
    if (shown.isEmpty())
        return {};
    const auto toView = [](int64_t value, int64_t from, int64_t viewLength, int64_t length, bool up) {
        const int64_t scaled = (value - from) * viewLength;
        return int(up ? (scaled + length - 1) / length : scaled / length);
    };
    const PixelRect part = picturePart.intersected(shown);
    if (part.isEmpty())
        return {};
    const int left = toView(part.x, shown.x, viewSize.width, shown.width, false);
    const int top = toView(part.y, shown.y, viewSize.height, shown.height, false);
    const int right = toView(part.x + part.width, shown.x, viewSize.width, shown.width, true);
    const int bottom = toView(part.y + part.height, shown.y, viewSize.height, shown.height, true);
    return {left, top, right - left, bottom - top};
}

void SelectionPainter::paint(const SelectionScene& scene, const PixelRect& shown, PixelSize viewSize,
    const PixelRect& part, uint32_t* view, std::ptrdiff_t stride) const
{
    const PixelRect drawn = part.intersected({0, 0, viewSize.width, viewSize.height});
    if (drawn.isEmpty() || shown.isEmpty() || !PixelRect{0, 0, m_size.width, m_size.height}.contains(shown))
        return;
    // The picture's column and row under each of the view's.
    std::vector<int> columns(size_t(drawn.width));
    for (int x = 0; x < drawn.width; ++x)
        columns[size_t(x)] = shown.x + int(int64_t(drawn.x + x) * shown.width / viewSize.width);
    const bool sameSize = shown.width == viewSize.width && shown.height == viewSize.height;
    const PixelRect label = labelBox(scene);
    const std::string text = scene.area ? areaSizeText(*scene.area) : std::string();
    const PixelRect area = scene.area.value_or(PixelRect{});
    const PixelRect bordered = scene.area ? grown(area, m_scale) : PixelRect{};
    const auto within
        = [](int value, int from, int length) { return value >= from && value < from + length; };
    for (int y = drawn.y; y < drawn.y + drawn.height; ++y) {
        const int row = shown.y + int(int64_t(y) * shown.height / viewSize.height);
        auto* out
            = reinterpret_cast<uint32_t*>(reinterpret_cast<unsigned char*>(view) + std::ptrdiff_t(y) * stride)
            + drawn.x;
        const uint32_t* still = stillRow(row);
        const bool onLabel = within(row, label.y, label.height);
        const bool onArea = within(row, area.y, area.height);
        const bool onBorder = !onArea && within(row, bordered.y, bordered.height);
        if (sameSize && !onLabel && !onBorder) { // whole runs: dimmed, the area's own pixels, dimmed
            const uint32_t* in = still + columns[0];
            for (int x = 0; x < drawn.width; ++x) // plain enough for the compiler to do many at once
                out[x] = dimmed(in[x]);
            if (!onArea)
                continue;
            const int first = columns[0], last = first + drawn.width; // picture columns
            for (int column = std::max(first, bordered.x);
                 column < std::min(last, bordered.x + bordered.width); ++column)
                out[column - first]
                    = within(column, area.x, area.width) ? 0xff000000u | still[column] : kBorder;
            continue;
        }
        for (int x = 0; x < drawn.width; ++x) {
            const int column = columns[size_t(x)];
            if (onLabel && within(column, label.x, label.width))
                out[x] = labelColour(text, label, column, row);
            else if (onArea && within(column, area.x, area.width))
                out[x] = 0xff000000u | still[column];
            else if ((onArea || onBorder) && within(column, bordered.x, bordered.width))
                out[x] = kBorder;
            else
                out[x] = dimmed(still[column]);
        }
    }
}

} // namespace quorvex
