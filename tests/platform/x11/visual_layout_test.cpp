#include "platform/x11/visual_layout.h"

#include <QRgb>
#include <gtest/gtest.h>
#include <vector>

using namespace quorvex;

TEST(VisualLayout, EveryTrueColourLayoutBecomesTheSameColours)
{
    // Orange and dark blue over black and white, each layout's row padding after them; narrow
    // channels widen by repeating their bits. 32-, 16- and 30-bit LSB-first screens are read on Xvfb.
    const struct {
        const char* what;
        VisualLayout layout;
        std::vector<unsigned char> rows;
        uint32_t orange, blue;
    } cases[] = {
        {"24-bit packed", {24, false, 0xff0000, 0xff00, 0xff, 32},
            {0x00, 0x80, 0xff, 0x60, 0x20, 0x10, 0, 0, 0, 0, 0, 0xff, 0xff, 0xff, 0, 0}, qRgb(255, 128, 0),
            qRgb(0x10, 0x20, 0x60)},
        {"24-bit packed, MSB first", {24, true, 0xff0000, 0xff00, 0xff, 32},
            {0xff, 0x80, 0x00, 0x10, 0x20, 0x60, 0, 0, 0, 0, 0, 0xff, 0xff, 0xff, 0, 0}, qRgb(255, 128, 0),
            qRgb(0x10, 0x20, 0x60)},
        {"16-bit 565, MSB first", {16, true, 0xf800, 0x7e0, 0x1f, 32},
            {0xfc, 0x00, 0x11, 0x0c, 0, 0, 0xff, 0xff}, qRgb(255, 130, 0), qRgb(0x10, 0x20, 0x63)},
        {"15-bit 555", {16, false, 0x7c00, 0x3e0, 0x1f, 32}, {0x00, 0x7e, 0x8c, 0x08, 0, 0, 0xff, 0x7f},
            qRgb(255, 132, 0), qRgb(0x10, 0x21, 0x63)},
        {"8-bit 332", {8, false, 0xe0, 0x1c, 0x03, 32}, {0xf0, 0x05, 0, 0, 0, 0xff, 0, 0}, qRgb(255, 146, 0),
            qRgb(0, 0x24, 0x55)},
    };
    for (const auto& c : cases) {
        const std::ptrdiff_t stride = bytesPerRow(c.layout, 2);
        ASSERT_EQ(std::ptrdiff_t(c.rows.size()), 2 * stride) << c.what;
        const ScreenPixels picture = convertToXrgb32(c.layout, c.rows.data(), stride, 2, 2);
        ASSERT_EQ(std::pair(picture.width, picture.height), std::pair(2, 2)) << c.what;
        const auto pixel = [&](int x, int y) {
            return reinterpret_cast<const uint32_t*>(picture.bits + y * picture.stride)[x];
        };
        EXPECT_EQ(pixel(0, 0), c.orange) << c.what;
        EXPECT_EQ(pixel(1, 0), c.blue) << c.what;
        EXPECT_EQ(pixel(0, 1), qRgb(0, 0, 0)) << c.what;
        EXPECT_EQ(pixel(1, 1), qRgb(255, 255, 255)) << c.what;
        EXPECT_FALSE(isRgb32AsIs(c.layout)) << c.what;
    }
}

TEST(VisualLayout, LayoutsWithoutTrueColoursAreRefused)
{
    const unsigned char bytes[16] = {};
    for (const VisualLayout& layout :
        {VisualLayout{8, false, 0, 0, 0, 32}, VisualLayout{16, false, 0xff00, 0xff0, 0xf, 32},
            VisualLayout{16, false, 0xf801, 0x7e0, 0x1e, 32},
            VisualLayout{12, false, 0xf00, 0xf0, 0xf, 32}}) {
        EXPECT_FALSE(canConvert(layout));
        EXPECT_EQ(bytesPerRow(layout, 2), 0);
        EXPECT_TRUE(convertToXrgb32(layout, bytes, 8, 2, 2).isEmpty());
    }
    EXPECT_EQ(bytesPerRow(VisualLayout{}, 70000 * 8000), 0); // a row beyond memory
}
