#include "app/picture_view.h"
#include "app/toolbar.h"
#include "app_fixture.h"

#include <QLabel>
#include <gtest/gtest.h>

using namespace quorvex;
using namespace testsupport;

namespace {

// After a whole-screen grab of a 200 x 100 screen, pic1 is 204 x 104 px (2-px edge) at 16, 40.
struct StretchFixture : MainWindowFixture {
    StretchFixture()
        : MainWindowFixture(asymmetricPattern(200, 100))
    {
        window.GrabWholeScreen();
    }
    void press(QPoint p)
    {
        sendMouse(window.surface(), QEvent::MouseButtonPress, p, Qt::LeftButton, Qt::LeftButton);
    }
    void move(QPoint p, Qt::MouseButtons held = Qt::NoButton)
    {
        sendMouse(window.surface(), QEvent::MouseMove, p, Qt::NoButton, held);
    }
    void release(QPoint p)
    {
        sendMouse(window.surface(), QEvent::MouseButtonRelease, p, Qt::LeftButton, Qt::NoButton);
    }
    void drag(QPoint from, QPoint to)
    {
        move(from);
        press(from);
        move(to, Qt::LeftButton);
        release(to);
    }
    QString tip() const { return window.Frame2->lblTips->text(); }
    bool tipShown() const { return window.Frame2->frmTips->isVisible(); }
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

TEST(Stretching, HoverShowsThePointerAndTheHint)
{
    StretchFixture f;
    const struct {
        QPoint at;
        Qt::CursorShape cursor;
        QString tip;
    } steps[] = {{{222, 80}, Qt::SizeHorCursor, "Stretch/Size Horizontal"},
        {{100, 146}, Qt::SizeVerCursor, "Stretch/Size vertical"},
        {{222, 140}, Qt::SizeFDiagCursor, "Size Proportional"}, {{400, 300}, Qt::ArrowCursor, QString()}};
    for (const auto& s : steps) {
        f.move(s.at);
        EXPECT_EQ(f.window.surface()->cursor().shape(), s.cursor) << s.tip.toStdString();
        EXPECT_EQ(f.tipShown(), !s.tip.isEmpty());
        if (!s.tip.isEmpty()) {
            EXPECT_EQ(f.tip(), s.tip);
        }
    }
    // the zones are there while the view is hidden, too
    f.window.Clear();
    f.move({1, 1}); // pic1 is 0 x 0 at Left -15 now: its right strip starts at x = -1 px
    EXPECT_EQ(f.window.surface()->cursor().shape(), Qt::ArrowCursor);
}

TEST(Stretching, DraggingTheRightEdgeStretchesTheHeldCopyAtTheRelease)
{
    StretchFixture f;
    const QImage held = f.window.pictures().pSize.picture();
    f.move({222, 80});
    f.press({222, 80});
    f.move({316, 80}, Qt::LeftButton);
    // during the drag only the box's size changes
    EXPECT_EQ(f.window.pic1->width(), 300);
    EXPECT_EQ(f.window.windowTitle(), "Quorvex7");
    EXPECT_EQ(differenceBetween(f.window.pictures().pSize.picture(), held), QString());
    f.release({316, 80});

    const PictureViewState& s = f.window.pictures();
    EXPECT_EQ(f.window.pic1->geometry(), QRect(16, 40, 300, 104));
    EXPECT_EQ(f.window.windowTitle(), "Quorvex7 - (300x104)");
    const QImage expected = nearestStretch(held, {296, 100});
    EXPECT_EQ(differenceBetween(s.pic1.picture(), expected), QString());
    EXPECT_EQ(differenceBetween(s.pSize.picture(), expected), QString());
    EXPECT_FALSE(f.window.StretchActive);
}

TEST(Stretching, ProportionalDragUsesTheGrabsProportions)
{
    StretchFixture f;
    // grab 3000 x 1500 twips: unit 30; dragging the corner to 400 px wide (6000 twips) = 200 %.
    f.drag({222, 140}, {416, 400});
    EXPECT_EQ(f.window.pic1->size(), QSize(400, 200));
    EXPECT_EQ(f.window.windowTitle(), "Quorvex7 - (400x200)");
}

TEST(Stretching, AClickAwayFromTheStripsStillRepaintsAndRewritesTheTitle)
{
    StretchFixture f;
    f.window.setWindowTitle("something else");
    f.move({400, 300});
    f.press({400, 300});
    f.move({450, 320}, Qt::LeftButton); // a press outside the strips then a move changes nothing
    EXPECT_EQ(f.window.pic1->geometry(), QRect(16, 40, 204, 104));
    f.release({450, 320});
    EXPECT_EQ(f.window.pic1->geometry(), QRect(16, 40, 204, 104));
    EXPECT_EQ(f.window.windowTitle(), "Quorvex7 - (204x104)");
}

TEST(Stretching, ADragToNoHeightIsRefusedAtTheRelease)
{
    StretchFixture f;
    f.window.pictures().GrabWidth = 45; // unit 0: the proportional height becomes 0
    f.window.Reset(); // title "Quorvex7 - (204x104)"
    const QImage before = f.window.pictures().pic1.picture();
    f.drag({222, 140}, {300, 140});
    const PictureViewState& s = f.window.pictures();
    EXPECT_EQ(f.window.pic1->size(), QSize(204, 104)) << "the box takes back the picture's size";
    EXPECT_EQ(differenceBetween(s.pic1.picture(), before), QString());
    EXPECT_EQ(differenceBetween(s.pSize.picture(), before), QString());
    EXPECT_EQ(f.window.windowTitle(), "Quorvex7 - (204x104)");
    EXPECT_EQ(f.messages.shown.size(), 1u);
}

TEST(Stretching, ReleaseWithoutAPictureOnlyCopiesTheSurface)
{
    MainWindowFixture f;
    sendMouse(f.window.surface(), QEvent::MouseButtonPress, {300, 300}, Qt::LeftButton, Qt::LeftButton);
    sendMouse(f.window.surface(), QEvent::MouseButtonRelease, {300, 300}, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(f.window.windowTitle(), "Quorvex7");
    EXPECT_TRUE(f.messages.shown.empty());
}
