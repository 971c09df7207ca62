#include "platform/still/still_view.h"

#include <gtest/gtest.h>

using namespace quorvex;

TEST(StillView, AnOutputShowsItsPartOfTheDesktopPicture)
{
    const struct {
        QSize picture;
        QRect desktop, output;
        StillView view;
        QPoint onStill, inPicture;
    } cases[] = {
        // Two outputs side by side, the picture at the larger scale; the desktop starting left of 0.
        {{5120, 1600}, {-1280, 0, 2560, 800}, {0, 0, 1280, 800}, {{2560, 0, 2560, 1600}, 2}, {10, 5},
            {2580, 10}},
        // At 150 % a logical pixel covers a pixel and a half: positions round to the nearest.
        {{1920, 1200}, {0, 0, 1280, 800}, {0, 0, 1280, 800}, {{0, 0, 1920, 1200}, 1.5}, {3, 1}, {5, 2}},
        // A picture that says nothing of the desktop is taken pixel for pixel.
        {{}, {0, 0, 1280, 800}, {0, 0, 1280, 800}, {{}, 1}, {4, 4}, {4, 4}},
    };
    for (const auto& c : cases) {
        const StillView view = stillView(c.picture, c.desktop, c.output);
        EXPECT_EQ(view.source, c.view.source) << c.picture.width();
        EXPECT_DOUBLE_EQ(view.ratio, c.view.ratio) << c.picture.width();
        EXPECT_EQ(stillToPicture(view, c.onStill), c.inPicture) << c.picture.width();
    }
}
