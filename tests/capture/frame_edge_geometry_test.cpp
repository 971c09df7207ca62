#include "capture/frame_edge_geometry.h"

#include <gtest/gtest.h>

using namespace quorvex;

namespace {

constexpr QSize kWindow(200, 150);
constexpr int kFrame = 4;

} // namespace

TEST(FrameEdges, EachEdgeAndCornerOfTheFrame)
{
    const struct {
        QPoint at;
        Qt::Edges edges;
    } cases[] = {
        {{0, 75}, Qt::LeftEdge}, {{4, 75}, {}}, // first pixel inside the frame
        {{199, 75}, Qt::RightEdge}, {{100, 0}, Qt::TopEdge}, {{0, 0}, Qt::LeftEdge | Qt::TopEdge},
        {{11, 2}, Qt::LeftEdge | Qt::TopEdge}, // within reach of the corner along the top
        {{12, 2}, Qt::TopEdge}, {{199, 149}, Qt::RightEdge | Qt::BottomEdge},
        {{-1, 75}, {}}, // outside the window
    };
    for (const auto& c : cases)
        EXPECT_EQ(frameEdgesAt(c.at, kWindow, kFrame), c.edges) << c.at.x() << "," << c.at.y();
}

TEST(FrameResize, DraggedEdgesMoveAndTheOthersStay)
{
    const QRect start(100, 50, 200, 150);
    const QSize minimum(30, 40);
    const QSize maximum(1920, 1080);
    const struct {
        Qt::Edges edges;
        QPoint delta;
        QRect result;
    } cases[] = {
        {Qt::RightEdge, {50, 7}, {100, 50, 250, 150}},
        {Qt::LeftEdge, {-30, 0}, {70, 50, 230, 150}}, // moves and grows, right edge stays at 300
        {Qt::RightEdge | Qt::BottomEdge, {-500, -500}, {100, 50, 30, 40}}, // stops at the minimum
        {Qt::LeftEdge, {500, 0}, {270, 50, 30, 150}}, // left edge stops where the minimum is reached
        {Qt::RightEdge, {5000, 0}, {100, 50, 1920, 150}}, // and at the maximum
        {{}, {40, 40}, start},
    };
    for (const auto& c : cases)
        EXPECT_EQ(resizedByFrame(start, c.edges, c.delta, minimum, maximum), c.result)
            << int(c.edges) << " " << c.delta.x() << "," << c.delta.y();
}
