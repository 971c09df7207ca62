#include "app/picture_view.h"
#include "app/toolbar.h"
#include "app_fixture.h"

#include <QLabel>
#include <gtest/gtest.h>

using namespace quorvex;
using namespace testsupport;

namespace {

// After a whole-screen grab of a 200 x 100 screen, pic1 is 204 x 104 px (2-px edge) at 16, 40:
// Left 240, Top 600, Width 3060, Height 1560 twips.
struct StretchFixture : MainWindowFixture {
    StretchFixture()
        : MainWindowFixture(asymmetricPattern(200, 100))
    {
        window.GrabWholeScreen();
    }
    void move(QPoint p, Qt::MouseButtons held = Qt::NoButton)
    {
        sendMouse(window.surface(), QEvent::MouseMove, p, Qt::NoButton, held);
    }
    void drag(QPoint from, QPoint to)
    {
        move(from);
        sendMouse(window.surface(), QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
        move(to, Qt::LeftButton);
        sendMouse(window.surface(), QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
    }
};

// Nearest neighbour by pixel centres: destination x samples source floor((x + 0.5) * sw / dw).
QImage nearestStretch(const QImage& source, QSize size)
{
    QImage out(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            out.setPixel(x, y,
                source.pixel(int((x + 0.5) * source.width() / size.width()),
                    int((y + 0.5) * source.height() / size.height())));
    return out;
}

} // namespace

TEST(Stretching, HoverShowsThePointerAndTheHintAlsoWithTheViewHidden)
{
    StretchFixture f;
    struct Step {
        QPoint at;
        Qt::CursorShape cursor;
        QString tip;
    };
    // the right strip starts at 3300 twips (220 px), the bottom one at 2160 (144 px)
    const Step shown[] = {{{222, 80}, Qt::SizeHorCursor, "Stretch/Size Horizontal"},
        {{100, 146}, Qt::SizeVerCursor, "Stretch/Size vertical"},
        {{222, 140}, Qt::SizeFDiagCursor, "Size Proportional"}, {{400, 300}, Qt::ArrowCursor, QString()}};
    // After Clear pic1 is 0 x 0 px at -1, 40 (Left -15, Top 600 twips): its strips reach to x < 135
    // and to y < 750 twips, all within 200 twips of its corner, so they are all proportional.
    const Step hidden[] = {{{8, 42}, Qt::SizeFDiagCursor, "Size Proportional"},
        {{4, 49}, Qt::SizeFDiagCursor, "Size Proportional"}, {{9, 42}, Qt::ArrowCursor, QString()}};
    const auto hover = [&](const Step& s) {
        f.move(s.at);
        EXPECT_EQ(f.window.surface()->cursor().shape(), s.cursor) << s.at.x() << "," << s.at.y();
        EXPECT_EQ(f.window.Frame2->frmTips->isVisible(), !s.tip.isEmpty());
        if (!s.tip.isEmpty()) {
            EXPECT_EQ(f.window.Frame2->lblTips->text(), s.tip);
        }
    };
    for (const Step& s : shown)
        hover(s);
    f.window.Clear();
    ASSERT_FALSE(f.window.pic1->isVisible());
    for (const Step& s : hidden)
        hover(s);
}

TEST(Stretching, DraggingTheRightEdgeStretchesTheHeldCopyAtTheRelease)
{
    StretchFixture f;
    const QImage held = f.window.pictures().pSize.picture();
    f.move({222, 80});
    sendMouse(f.window.surface(), QEvent::MouseButtonPress, {222, 80}, Qt::LeftButton, Qt::LeftButton);
    f.move({316, 80}, Qt::LeftButton);
    // during the drag only the box's size changes
    EXPECT_EQ(f.window.pic1->width(), 300);
    EXPECT_EQ(f.window.windowTitle(), "Quorvex7");
    EXPECT_EQ(differenceBetween(f.window.pictures().pSize.picture(), held), QString());
    sendMouse(f.window.surface(), QEvent::MouseButtonRelease, {316, 80}, Qt::LeftButton, Qt::NoButton);

    const PictureViewState& s = f.window.pictures();
    EXPECT_EQ(f.window.pic1->geometry(), QRect(16, 40, 300, 104));
    EXPECT_EQ(f.window.windowTitle(), "Quorvex7 - (300x104)");
    const QImage expected = nearestStretch(held, {296, 100});
    EXPECT_EQ(differenceBetween(s.pic1.picture(), expected), QString());
    EXPECT_EQ(differenceBetween(s.pSize.picture(), expected), QString());
    EXPECT_FALSE(f.window.StretchActive);
}

TEST(Stretching, AClickAwayFromTheStripsChangesNothingButRewritesTheTitle)
{
    StretchFixture f;
    f.window.setWindowTitle("something else");
    f.drag({400, 300}, {450, 320});
    EXPECT_EQ(f.window.pic1->geometry(), QRect(16, 40, 204, 104));
    EXPECT_EQ(f.window.windowTitle(), "Quorvex7 - (204x104)");
}

TEST(Stretching, ADragToNoHeightIsRefusedAtTheRelease)
{
    StretchFixture f;
    f.window.pictures().GrabWidth = 45; // unit 0: the proportional height becomes 0
    const QImage before = f.window.pictures().pic1.picture();
    f.drag({222, 140}, {300, 140});
    const PictureViewState& s = f.window.pictures();
    EXPECT_EQ(f.window.pic1->size(), QSize(204, 104)) << "the box takes back the picture's size";
    EXPECT_EQ(differenceBetween(s.pic1.picture(), before), QString());
    EXPECT_EQ(differenceBetween(s.pSize.picture(), before), QString());
    EXPECT_EQ(f.messages.shown.size(), 1u);
}
