#include "app_fixture.h"

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
    void mouse(QEvent::Type type, QPoint p, Qt::MouseButtons held = Qt::NoButton)
    {
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        sendMouse(surface(), type, p, button, held);
    }
};

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
    const Step hidden[]
        = {{{8, 42}, Qt::SizeFDiagCursor, "Size Proportional"}, {{9, 42}, Qt::ArrowCursor, QString()}};
    const auto hover = [&](const Step& s) {
        f.mouse(QEvent::MouseMove, s.at);
        EXPECT_EQ(f.surface()->cursor().shape(), s.cursor) << s.at.x() << "," << s.at.y();
        EXPECT_EQ(f.control("frmTips")->isVisible(), !s.tip.isEmpty());
        if (!s.tip.isEmpty()) {
            EXPECT_EQ(f.control<QLabel>("lblTips")->text(), s.tip);
        }
    };
    for (const Step& s : shown)
        hover(s);
    f.trigger("Clear");
    ASSERT_FALSE(f.view()->isVisible());
    for (const Step& s : hidden)
        hover(s);
}
