#include "transform/effects.h"
#include "transform/mirror.h"
#include "transform/quarter_turn.h"

#include "resource_limit.h"

#include <gtest/gtest.h>

using namespace quorvex;
using testsupport::ResourceLimit;

// 270: the turned picture cannot be allocated. 30: the target shares its pixels, so painting needs a
// copy of it first. Pictures of 36 MB, far above the 8 MB headroom.
TEST(AllocationFailure, TransformsThatCannotAllocateGiveNothingAndLeaveTheTargetAsItWas)
{
    QImage picture(3000, 3000, QImage::Format_RGB32);
    picture.fill(0xFF336699u);
    for (float degrees : {270.0f, 30.0f}) {
        QImage target(picture.size(), QImage::Format_RGB32);
        target.fill(0xFF00FF00u);
        const QImage sharer = target;
        ResourceLimit cap(RLIMIT_AS, ResourceLimit::addressSpaceInUsePlus(8 << 20));
        ASSERT_TRUE(cap.isActive());
        EXPECT_EQ(RotatePixels(picture, target, degrees, 0xFFFFFFFFu, {}), RotateStatus::OutOfMemory);
        EXPECT_EQ(target.pixel(1500, 1500), 0xFF00FF00u);
        EXPECT_TRUE(mirrored(picture, MirrorKind::Horizontal).isNull());
        EXPECT_TRUE(turnedClockwise(picture).isNull());
        int progress = 0;
        const auto result
            = RotatePicture(picture, 0xFFFFFFFFu, qint16(degrees), [&](const QImage&) { ++progress; });
        EXPECT_EQ(result.status, RotateStatus::OutOfMemory) << degrees;
        EXPECT_TRUE(result.surface.isNull() && progress == 0) << degrees;
    }
}
