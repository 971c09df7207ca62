#include "platform/wayland/desktop_layout.h"

#include <climits>
#include <cstdint>
#include <gtest/gtest.h>
#include <tuple>
#include <vector>

using namespace quorvex;

TEST(DesktopLayout, OutputsMakeOnePictureAtTheLargestScale)
{
    // A 1280 x 800 output at scale 1 left of a 2560 x 1600 one at scale 2, and one above at -200.
    const std::vector<OutputPlace> outputs = {{{0, 0, 1280, 800}, {1280, 800}},
        {{1280, 0, 1280, 800}, {2560, 1600}}, {{0, -200, 100, 200}, {100, 200}}};
    const DesktopPicture picture = desktopPicture(outputs).value();
    EXPECT_EQ(picture.size, (PixelSize{5120, 2000}));
    EXPECT_EQ(picture.scale, 2);
    EXPECT_EQ(placeInPicture(picture, outputs[0]), (PixelRect{0, 400, 2560, 1600}));
    EXPECT_EQ(placeInPicture(picture, outputs[1]), (PixelRect{2560, 400, 2560, 1600}));
    EXPECT_EQ(desktopPicture({}).value().size, (PixelSize{0, 0}));
}

// The fuzzer (desktop_layout_fuzz) tries the rest of what a compositor may say.
TEST(DesktopLayout, ACompositorsHugeOrNegativeNumbersAreRefused)
{
    const PixelSize device{1280, 800};
    const std::vector<OutputPlace> refused[] = {
        {{{INT_MAX - 10, 0, 1280, 800}, device}, {{INT_MIN, 0, 1280, 800}, device}}, // int would overflow
        {{{0, 0, 1, 1}, {INT_MAX, INT_MAX}}}, // a scale beyond any picture
        {{{0, 0, -1280, 800}, device}},
        {{{0, 0, 1280, 800}, {1280, -800}}},
    };
    for (const auto& outputs : refused) {
        const Result<DesktopPicture> picture = desktopPicture(outputs);
        EXPECT_FALSE(picture.ok()) << outputs.front().logical.x;
        EXPECT_EQ(picture.error().find('\n'), std::string::npos);
    }
    // Far from the origin is no fault where the desktop itself is of a plausible size.
    const auto far = desktopPicture({{{INT_MAX - 1280, INT_MIN, 1280, 800}, device}});
    ASSERT_TRUE(far.ok()) << far.error();
    EXPECT_EQ(far->size, device);
}

TEST(DesktopLayout, AnOutputsBufferIsReadOnlyWhereItsRowsHoldItsPixels)
{
    EXPECT_TRUE(checkOutputBuffer(3, 2, 12).ok());
    EXPECT_TRUE(checkOutputBuffer(3, 2, 16).ok()); // padded rows
    for (const auto& [width, height, stride] : {std::tuple{3, 2, 8}, {3, 2, 14}, {0, 2, 12}, {3, 0, 12},
             {3, -2, 12}, {3, 2, -12}, {kMostPictureSide + 1, 1, (kMostPictureSide + 1) * 4LL}})
        EXPECT_FALSE(checkOutputBuffer(width, height, stride).ok())
            << width << " " << height << " " << stride;

    std::vector<uint32_t> output(6, 1), words(4, 0);
    ScreenPixels picture{reinterpret_cast<unsigned char*>(words.data()), 2, 2, 8, nullptr};
    const ScreenPixels narrow{reinterpret_cast<unsigned char*>(output.data()), 3, 2, 8, nullptr};
    EXPECT_FALSE(drawOutput(picture, {0, 0, 2, 2}, narrow, false).ok());
    EXPECT_EQ(words, std::vector<uint32_t>(4, 0)) << "nothing is drawn from a refused buffer";
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
        ASSERT_TRUE(drawOutput(picture, {1, 0, 6, 4}, source, c.inverted, c.transform).ok());
        for (int y = 0; y < 4; ++y)
            for (int x = 1; x < 7; ++x) // each shown pixel 2 x 2, right of an untouched column
                expected[y * 7 + x] = 0xff000000u | c.shown[y / 2 * 3 + (x - 1) / 2];
        EXPECT_EQ(words, expected) << "inverted " << c.inverted << ", transform " << c.transform;
    }
}
