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

TEST(DesktopLayout, AnOutputIsDrawnUprightOpaqueAndDoubledWhereItsScaleIsLower)
{
    // 2 x 2 output pixels, transparent; a y-inverted buffer holds its bottom row first.
    std::vector<uint32_t> output = {0x00000001, 0x00000002, 0x00000003, 0x00000004};
    const ScreenPixels source{reinterpret_cast<unsigned char*>(output.data()), 2, 2, 8, nullptr};
    for (const bool inverted : {false, true}) {
        std::vector<uint32_t> words(5 * 4, 0);
        ScreenPixels picture{reinterpret_cast<unsigned char*>(words.data()), 5, 4, 20, nullptr};
        drawOutput(picture, {1, 0, 4, 4}, source, inverted);
        const uint32_t top = inverted ? 0xff000003 : 0xff000001, bottom = inverted ? 0xff000001 : 0xff000003;
        const std::vector<uint32_t> expected = {0, top, top, top + 1, top + 1, 0, top, top, top + 1, top + 1,
            0, bottom, bottom, bottom + 1, bottom + 1, 0, bottom, bottom, bottom + 1, bottom + 1};
        EXPECT_EQ(words, expected) << "inverted " << inverted;
    }
}

// Turned and mirrored-turned outputs are checked end to end; a half turn here.
TEST(DesktopLayout, AnOutputTurnedUpsideDownIsDrawnAsItShows)
{
    std::vector<uint32_t> output = {1, 2, 3, 4, 5, 6};
    const ScreenPixels source{reinterpret_cast<unsigned char*>(output.data()), 3, 2, 12, nullptr};
    std::vector<uint32_t> words(6, 0);
    ScreenPixels picture{reinterpret_cast<unsigned char*>(words.data()), 3, 2, 12, nullptr};
    drawOutput(picture, {0, 0, 3, 2}, source, false, 2);
    const uint32_t o = 0xff000000u;
    EXPECT_EQ(words, (std::vector<uint32_t>{o | 6, o | 5, o | 4, o | 3, o | 2, o | 1}));
}
