#include "transform/effects.h"
#include "transform/mirror.h"
#include "transform/quarter_turn.h"

#include <QFile>
#include <gtest/gtest.h>
#include <sys/resource.h>

using quorvex::RotateStatus;

namespace {

// Caps the process's address space a little above what it uses now, so that allocating another
// picture of some tens of megabytes fails for real; the old limit comes back on destruction.
class AddressSpaceCap {
public:
    explicit AddressSpaceCap(rlim_t headroomBytes)
    {
        getrlimit(RLIMIT_AS, &m_previous);
        rlimit capped = m_previous;
        capped.rlim_cur = currentAddressSpace() + headroomBytes;
        m_active = setrlimit(RLIMIT_AS, &capped) == 0;
    }
    ~AddressSpaceCap() { setrlimit(RLIMIT_AS, &m_previous); }
    bool isActive() const { return m_active; }

private:
    static rlim_t currentAddressSpace()
    {
        QFile status(QStringLiteral("/proc/self/statm"));
        if (!status.open(QIODevice::ReadOnly))
            return 0;
        const qulonglong pages = status.readAll().split(' ').value(0).toULongLong();
        return rlim_t(pages) * rlim_t(getpagesize());
    }

    rlimit m_previous{};
    bool m_active = false;
};

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
        AddressSpaceCap cap(kHeadroom);
        ASSERT_TRUE(cap.isActive());
        EXPECT_EQ(
            quorvex::RotatePixels(picture, target, degrees, 0xFFFFFFFFu, {}), RotateStatus::OutOfMemory);
        EXPECT_EQ(target.pixel(kSide / 2, kSide / 2), kGreen);
        EXPECT_EQ(sharer.pixel(kSide / 2, kSide / 2), kGreen);
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
