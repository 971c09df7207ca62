#include "platform/kde/kwin_picture.h"

#include <cstring>
#include <gtest/gtest.h>

using namespace quorvex;

// What KWin says of its picture is checked before a byte is read: no read past a row, no desktop of
// billions of pixels, no format read as another. Real pictures are compared end to end on KWin.
TEST(KWinPicture, TheLayoutIsCheckedBeforeAnyByteIsRead)
{
    const struct {
        KWinPictureLayout layout;
        const char* failure;
    } layouts[] = {{{"raw", 1280, 800, 5120, 5}, ""}, {{"raw", 3, 1, 16, 17}, ""},
        {{"png", 1280, 800, 5120, 5}, "came as 'png', not as raw pixels"},
        {{"raw", 1280, 800, 3840, 13}, "pixel format 13, which this program cannot read"},
        {{"raw", 1280, 800, 5116, 4}, "came with rows of 5116 bytes"},
        {{"raw", 1280, 800, 5122, 4}, "came with rows of 5122 bytes"},
        {{"raw", 0, 800, 0, 4}, "of 0 x 800 pixels is no desktop's"},
        {{"raw", 65535, 65535, 262140, 4}, "is no desktop's"},
        {{"raw", 70000, 1, 280000, 4}, "is no desktop's"}};
    for (const auto& l : layouts) {
        const std::string failure = kwinLayoutFailure(l.layout);
        EXPECT_EQ(failure.empty(), !*l.failure) << failure;
        EXPECT_NE(failure.find(l.failure), std::string::npos) << failure;
    }
}

TEST(KWinPicture, ByteOrderedPixelsBecomeWords)
{
    // Two pixels R, G, B, A in a row of 12 bytes: red, then (1, 2, 3).
    const KWinPictureLayout layout{"raw", 2, 1, 12, 17};
    std::shared_ptr<unsigned char[]> bytes(new unsigned char[12]{255, 0, 0, 9, 1, 2, 3, 9, 7, 7, 7, 7});
    const ScreenPixels pixels = kwinPixels(bytes, layout);
    std::uint32_t words[2];
    std::memcpy(words, pixels.bits, sizeof words);
    EXPECT_EQ(words[0] & 0xffffff, 0xff0000u);
    EXPECT_EQ(words[1] & 0xffffff, 0x010203u);
    EXPECT_EQ(pixels.stride, 12);
}
