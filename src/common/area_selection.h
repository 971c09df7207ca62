#pragma once

#include "common/pixel_rect.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// Choosing an area of a still picture of the desktop with the mouse, as plain logic: the drag, and
// how the still shows while it goes on (dimmed outside the area, a border round it, its size in
// pixels beside the pointer). Each display system shows the result on its own surfaces.
namespace quorvex {

struct PixelPoint {
    int x = 0;
    int y = 0;

    bool operator==(const PixelPoint&) const = default;
};

// The area between where the button went down and where the pointer is, both pixels inside it.
PixelRect spannedArea(PixelPoint from, PixelPoint to);

// A drag in the desktop picture's pixels.
class AreaDrag {
public:
    // A pointer that never goes further than this from where it was pressed makes a click.
    static constexpr int kClickSlop = 2;

    void press(PixelPoint at);
    void move(PixelPoint to);
    bool pressed() const { return m_pressed; }
    // Whether the pointer has not gone beyond kClickSlop pixels (in picture pixels times the scale)
    // since the press.
    bool isClick(int scale) const;
    PixelRect area() const { return spannedArea(m_from, m_to); }
    PixelPoint pointer() const { return m_to; }

private:
    bool m_pressed = false;
    PixelPoint m_from, m_to;
    int m_furthest = 0;
};

// How a selection ended: an area dragged, a click (which picks the window there), or cancelled
// (Escape, the right button).
struct AreaChoice {
    enum class Kind { Area, Click, Cancelled };
    Kind kind = Kind::Cancelled;
    PixelRect area; // the area dragged, in the desktop picture's pixels
    PixelPoint at; // where the click was
};

// What the selection shows over the still.
struct SelectionScene {
    std::optional<PixelRect> area; // shown bright, with a border just outside it
    std::optional<PixelPoint> pointer; // where the size goes (with an area)

    bool operator==(const SelectionScene&) const = default;
};

// The text the size shows: "300 x 200".
std::string areaSizeText(const PixelRect& area);

// Draws scenes over a still picture of the desktop whose pixels are `scale` times the desktop's
// logical ones (on X11, the scale its text is drawn at: 2 at Xft.dpi 192).
class SelectionPainter {
public:
    // `still` holds `size` pixels as 0x00RRGGBB words, rows `stride` bytes apart; `keeper` keeps
    // them for as long as the painter lives.
    SelectionPainter(const unsigned char* still, std::ptrdiff_t stride, PixelSize size, int scale,
        std::shared_ptr<void> keeper);

    PixelSize size() const { return m_size; }
    int scale() const { return m_scale; }
    // Where the size's label lies for `scene` (picture pixels); empty without one.
    PixelRect labelBox(const SelectionScene& scene) const;
    // The parts of the picture whose pixels differ between `before` and `after`: a few rectangles.
    std::vector<PixelRect> changed(const SelectionScene& before, const SelectionScene& after) const;

    // Draws `part` of a view of `viewSize` pixels that shows `shown` of the picture, scaled by the
    // nearest pixel where the sizes differ, into `view` (0xAARRGGBB words, opaque, `stride` bytes a row).
    void paint(const SelectionScene& scene, const PixelRect& shown, PixelSize viewSize, const PixelRect& part,
        uint32_t* view, std::ptrdiff_t stride) const;
    // A part of the picture as it lies in such a view: whole view pixels covering all of it.
    static PixelRect inView(const PixelRect& picturePart, const PixelRect& shown, PixelSize viewSize);

private:
    // The label's pixel at `x`, `y` of the picture, which lies in `label`.
    uint32_t labelColour(const std::string& text, const PixelRect& label, int x, int y) const;

    const uint32_t* stillRow(int y) const
    {
        return reinterpret_cast<const uint32_t*>(m_still + std::ptrdiff_t(y) * m_stride);
    }

    const unsigned char* m_still;
    std::ptrdiff_t m_stride;
    std::shared_ptr<void> m_keeper;
    PixelSize m_size;
    int m_scale;
};

} // namespace quorvex
