#include "common/area_selection.h"
#include "common/pointer_image.h"

#include <gtest/gtest.h>
#include <vector>

using namespace quorvex;

namespace {

// A still whose every pixel says where it is.
struct Still {
    PixelSize size;
    std::vector<uint32_t> pixels;

    explicit Still(PixelSize s)
        : size(s)
        , pixels(size_t(s.width) * size_t(s.height))
    {
        for (int y = 0; y < s.height; ++y)
            for (int x = 0; x < s.width; ++x)
                pixels[size_t(y) * size_t(s.width) + size_t(x)]
                    = uint32_t(x & 0xff) << 16 | uint32_t(y & 0xff) << 8 | 0x40;
    }
    SelectionPainter painter(int scale) const
    {
        return {reinterpret_cast<const unsigned char*>(pixels.data()), std::ptrdiff_t(size.width) * 4, size,
            scale, nullptr};
    }
};

std::vector<uint32_t> view(
    const SelectionPainter& painter, const SelectionScene& scene, const PixelRect& shown, PixelSize size)
{
    std::vector<uint32_t> pixels(size_t(size.width) * size_t(size.height));
    painter.paint(
        scene, shown, size, {0, 0, size.width, size.height}, pixels.data(), std::ptrdiff_t(size.width) * 4);
    return pixels;
}

} // namespace

TEST(AreaSelection, TheDragTakesInThePixelsAtBothEndsAndAClickStaysNear)
{
    EXPECT_EQ(spannedArea({100, 120}, {399, 319}), (PixelRect{100, 120, 300, 200}));
    EXPECT_EQ(spannedArea({640, 500}, {540, 400}), (PixelRect{540, 400, 101, 101}));
    AreaDrag drag;
    drag.move({10, 10}); // moving before a press drags nothing
    EXPECT_FALSE(drag.pressed());
    drag.press({10, 10});
    drag.move({12, 8});
    EXPECT_TRUE(drag.isClick(1));
    drag.move({13, 10});
    EXPECT_FALSE(drag.isClick(1));
    EXPECT_TRUE(drag.isClick(2)); // twice the pixels at scale 2
    drag.move({10, 10}); // back where it began: a drag all the same
    EXPECT_FALSE(drag.isClick(1));
}

// Outside the area dimmed, inside the still's own pixels, a border round it and the size beside the
// pointer; a view of a lower scale shows every other pixel.
TEST(AreaSelection, TheSceneOverTheStill)
{
    const Still still({200, 100});
    const SelectionPainter painter = still.painter(1);
    const SelectionScene scene{PixelRect{20, 10, 50, 40}, PixelPoint{69, 49}};
    const std::vector<uint32_t> shown = view(painter, scene, {0, 0, 200, 100}, {200, 100});
    const auto at = [&](int x, int y) { return shown[size_t(y) * 200 + size_t(x)]; };
    const auto own = [&](int x, int y) { return 0xff000000u | still.pixels[size_t(y) * 200 + size_t(x)]; };
    EXPECT_EQ(at(20, 10), own(20, 10));
    EXPECT_EQ(at(69, 49), own(69, 49));
    EXPECT_EQ(at(5, 5), 0xff000000u | ((own(5, 5) >> 1) & 0x7f7f7f));
    EXPECT_EQ(at(19, 30), 0xff3daee9u);
    EXPECT_EQ(at(70, 30), 0xff3daee9u);
    EXPECT_EQ(at(150, 5), 0xff000000u | ((own(150, 5) >> 1) & 0x7f7f7f));
    EXPECT_EQ(areaSizeText(*scene.area), "50 x 40");
    const PixelRect label = painter.labelBox(scene);
    EXPECT_EQ(label, (PixelRect{85, 65, (7 * 6 - 1 + 6) * 2, 26}));
    EXPECT_EQ(at(label.x, label.y), 0xff202020u);
    int light = 0;
    for (int y = label.y; y < label.y + label.height; ++y)
        for (int x = label.x; x < label.x + label.width; ++x)
            light += at(x, y) == 0xffffffffu;
    EXPECT_GT(light, 60); // the digits
    // Near the picture's right and bottom edges the size goes to the other side of the pointer.
    EXPECT_EQ(painter.labelBox({PixelRect{150, 60, 40, 35}, PixelPoint{189, 94}}).x + 94 + 16, 189);

    const std::vector<uint32_t> half = view(painter, scene, {0, 0, 200, 100}, {100, 50});
    EXPECT_EQ(half[size_t(5) * 100 + 10], at(20, 10));
    EXPECT_EQ(half[size_t(2) * 100 + 2], at(4, 4));
}

// Everything that differs between two scenes lies inside what changed() says: the drawing each
// display system does after a move is only that.
TEST(AreaSelection, WhatChangesIsAllThatIsDrawnAgain)
{
    const Still still({160, 120});
    for (const int scale : {1, 2}) {
        const SelectionPainter painter = still.painter(scale);
        const SelectionScene scenes[] = {{}, {PixelRect{30, 20, 40, 30}, PixelPoint{69, 49}},
            {PixelRect{30, 20, 45, 31}, PixelPoint{74, 50}}, {PixelRect{10, 5, 20, 60}, PixelPoint{10, 5}},
            {PixelRect{100, 90, 60, 30}, PixelPoint{159, 119}}, {}};
        for (size_t i = 1; i < std::size(scenes); ++i) {
            const std::vector<uint32_t> before = view(painter, scenes[i - 1], {0, 0, 160, 120}, {160, 120});
            const std::vector<uint32_t> after = view(painter, scenes[i], {0, 0, 160, 120}, {160, 120});
            const std::vector<PixelRect> changed = painter.changed(scenes[i - 1], scenes[i]);
            for (int y = 0; y < 120; ++y)
                for (int x = 0; x < 160; ++x) {
                    if (before[size_t(y) * 160 + size_t(x)] == after[size_t(y) * 160 + size_t(x)])
                        continue;
                    bool covered = false;
                    for (const PixelRect& part : changed)
                        covered |= part.contains({x, y, 1, 1});
                    ASSERT_TRUE(covered) << "scale " << scale << ", scene " << i << ": " << x << "," << y;
                }
        }
    }
}

TEST(AreaSelection, PartsOfThePictureInAView)
{
    // A 2560-pixel part shown on a 1280-pixel view, and the same part one to one.
    EXPECT_EQ(SelectionPainter::inView({2001, 301, 1000, 700}, {0, 0, 2560, 1600}, {1280, 800}),
        (PixelRect{1000, 150, 280, 351}));
    EXPECT_EQ(SelectionPainter::inView({2001, 301, 1000, 700}, {2560, 0, 2560, 1600}, {2560, 1600}),
        (PixelRect{0, 301, 441, 700}));
    EXPECT_TRUE(SelectionPainter::inView({0, 0, 10, 10}, {2560, 0, 2560, 1600}, {2560, 1600}).isEmpty());
}

// Premultiplied pixels over the screen's, only where the rows show the pointer.
TEST(PointerImage, DrawnOverTheRowsItLiesOn)
{
    PointerImage pointer{{9, 19, 2, 2}, {0xff000000u, 0x80404040u, 0x00000000u, 0x80ff0000u}};
    std::vector<uint32_t> rows(4 * 4, 0xff204080u); // the picture's rows 18 to 21, columns 8 to 11
    drawPointer(pointer, reinterpret_cast<unsigned char*>(rows.data()), 16, {8, 18, 4, 4});
    EXPECT_EQ(rows[0], 0xff204080u);
    EXPECT_EQ(rows[1 * 4 + 1], 0xff000000u); // opaque black
    EXPECT_EQ(rows[1 * 4 + 2], 0xff506080u); // 0x40 + half of 0x20, 0x40, 0x80
    EXPECT_EQ(rows[2 * 4 + 1], 0xff204080u); // transparent
    EXPECT_EQ(rows[2 * 4 + 2], 0xffff2040u); // 0xff + 0x10 stays 0xff
    // A band the pointer only reaches into.
    std::vector<uint32_t> band(4, 0xff204080u);
    drawPointer(pointer, reinterpret_cast<unsigned char*>(band.data()), 16, {8, 20, 4, 1});
    EXPECT_EQ(band[1], 0xff204080u);
    EXPECT_EQ(band[2], 0xffff2040u);
}
