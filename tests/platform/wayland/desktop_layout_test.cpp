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

TEST(DesktopLayout, ATurnedOutputIsDrawnAsItShows)
{
    // A 3 x 2 buffer of a monitor on its side shows as 2 x 3; mirrored and turned, mirrored too.
    std::vector<uint32_t> output = {1, 2, 3, 4, 5, 6};
    const ScreenPixels source{reinterpret_cast<unsigned char*>(output.data()), 3, 2, 12, nullptr};
    const struct {
        int transform;
        std::vector<uint32_t> shown;
    } cases[] = {{1, {4, 1, 5, 2, 6, 3}}, {2, {6, 5, 4, 3, 2, 1}}, {7, {6, 3, 5, 2, 4, 1}}};
    for (const auto& turn : cases) {
        const bool turned = turn.transform % 2 == 1;
        std::vector<uint32_t> words(6, 0);
        ScreenPixels picture{reinterpret_cast<unsigned char*>(words.data()), turned ? 2 : 3, turned ? 3 : 2,
            turned ? 8 : 12, nullptr};
        drawOutput(picture, {0, 0, picture.width, picture.height}, source, false, turn.transform);
        std::vector<uint32_t> expected = turn.shown;
        for (uint32_t& word : expected)
            word |= 0xff000000u;
        EXPECT_EQ(words, expected) << "transform " << turn.transform;
    }
}
