#include "platform/wayland/desktop_layout.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <vector>

using namespace quorvex;

TEST(DesktopLayout, OutputsMakeOnePictureAtTheLargestScale)
{
    // A 1280 x 800 output at scale 1 left of a 2560 x 1600 one at scale 2, and one above at -200.
    const std::vector<OutputPlace> outputs = {{{0, 0, 1280, 800}, {1280, 800}},
        {{1280, 0, 1280, 800}, {2560, 1600}}, {{0, -200, 100, 200}, {100, 200}}};
    const DesktopPicture picture = desktopPicture(outputs);
    EXPECT_EQ(picture.size, (PixelSize{5120, 2000}));
    EXPECT_EQ(picture.scale, 2);
    EXPECT_EQ(placeInPicture(picture, outputs[0]), (PixelRect{0, 400, 2560, 1600}));
    EXPECT_EQ(placeInPicture(picture, outputs[1]), (PixelRect{2560, 400, 2560, 1600}));
    EXPECT_EQ(desktopPicture({}).size, (PixelSize{0, 0}));
}

// Turned and mirrored-turned outputs are checked end to end; a half turn here.
TEST(DesktopLayout, AnOutputIsDrawnAsItShowsOpaqueAndDoubledWhereItsScaleIsLower)
{
    // 3 x 2 output pixels, transparent; a y-inverted buffer holds its bottom row first.
    std::vector<uint32_t> output = {1, 2, 3, 4, 5, 6};
    const ScreenPixels source{reinterpret_cast<unsigned char*>(output.data()), 3, 2, 12, nullptr};
    const struct {
        bool inverted;
        int transform;
        uint32_t shown[6]; // the output's pixels as they show, row by row
    } cases[]
        = {{false, 0, {1, 2, 3, 4, 5, 6}}, {true, 0, {4, 5, 6, 1, 2, 3}}, {false, 2, {6, 5, 4, 3, 2, 1}}};
    for (const auto& c : cases) {
        std::vector<uint32_t> words(7 * 4, 0), expected(7 * 4, 0);
        ScreenPixels picture{reinterpret_cast<unsigned char*>(words.data()), 7, 4, 28, nullptr};
        drawOutput(picture, {1, 0, 6, 4}, source, c.inverted, c.transform);
        for (int y = 0; y < 4; ++y)
            for (int x = 1; x < 7; ++x) // each shown pixel 2 x 2, right of an untouched column
                expected[y * 7 + x] = 0xff000000u | c.shown[y / 2 * 3 + (x - 1) / 2];
        EXPECT_EQ(words, expected) << "inverted " << c.inverted << ", transform " << c.transform;
    }
}
