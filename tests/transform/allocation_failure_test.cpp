#include "transform/effects.h"
#include "transform/mirror.h"
#include "transform/quarter_turn.h"

#include "resource_limit.h"

#include <gtest/gtest.h>

using quorvex::RotateStatus;
using testsupport::ResourceLimit;

namespace {

constexpr int kSide = 3000; // 36 MB a picture, far above the headroom
constexpr rlim_t kHeadroom = 8 << 20;
constexpr QRgb kGreen = 0xFF00FF00u;

QImage plainPicture(QRgb colour)
{
    QImage picture(kSide, kSide, QImage::Format_RGB32);
    picture.fill(colour);
    return picture;
}

TEST(AllocationFailure, TransformsThatCannotAllocateGiveNothingAndLeaveTheTargetAsItWas)
{
    const QImage picture = plainPicture(0xFF336699u);
    // 270: the turned picture cannot be allocated. 30: the target still shares its pixels with
    // another image, so painting needs a copy of it first.
    for (float degrees : {270.0f, 30.0f}) {
        QImage target = plainPicture(kGreen);
        const QImage sharer = target;
        ResourceLimit cap(RLIMIT_AS, ResourceLimit::addressSpaceInUsePlus(kHeadroom));
        ASSERT_TRUE(cap.isActive());
        EXPECT_EQ(
            quorvex::RotatePixels(picture, target, degrees, 0xFFFFFFFFu, {}), RotateStatus::OutOfMemory);
        EXPECT_EQ(target.pixel(kSide / 2, kSide / 2), kGreen);
        EXPECT_TRUE(quorvex::mirrored(picture, quorvex::MirrorKind::Horizontal).isNull());
        EXPECT_TRUE(quorvex::turnedClockwise(picture).isNull());
        int progress = 0;
        const auto result = quorvex::RotatePicture(
            picture, 0xFFFFFFFFu, qint16(degrees), [&](const QImage&) { ++progress; });
        EXPECT_EQ(result.status, RotateStatus::OutOfMemory) << degrees;
        EXPECT_TRUE(result.surface.isNull() && progress == 0) << degrees;
    }
}

} // namespace
