#include "transform/effects.h"

#include "common/numeric.h"
#include "transform/quarter_turn.h"
#include "transform/rgb32.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <optional>
#include <utility>

namespace quorvex {
namespace {

constexpr double kPi = 3.14159265358979;
constexpr int kInt16Max = std::numeric_limits<qint16>::max();
constexpr int kInt32Max = std::numeric_limits<qint32>::max();

QRgb opaque(QRgb colour)
{
    return colour | 0xFF000000u;
}

// Read access to the scratch image; there is no pixel outside it.
class ScratchPixels {
public:
    explicit ScratchPixels(const QImage& image)
        : m_bits(image.constBits())
        , m_stride(image.bytesPerLine())
        , m_width(image.width())
        , m_height(image.height())
    {
    }

    std::optional<QRgb> at(int x, int y) const
    {
        if (x < 0 || y < 0 || x >= m_width || y >= m_height)
            return std::nullopt;
        return reinterpret_cast<const QRgb*>(m_bits + y * m_stride)[x];
    }

private:
    const uchar* m_bits;
    qsizetype m_stride;
    int m_width;
    int m_height;
};

// Write access to the target; a write outside it, or of no pixel, changes nothing.
class TargetPixels {
public:
    explicit TargetPixels(QImage& image)
        : m_width(image.width())
        , m_height(image.height())
    {
        // Painting needs the pixels to itself. Copying them here rather than inside bits() keeps
        // the target as it was when there is no memory for the copy.
        if (!image.isNull() && !image.isDetached()) {
            QImage own = image.copy();
            if (own.isNull())
                return;
            image = std::move(own);
        }
        m_bits = image.bits();
        m_stride = image.bytesPerLine();
    }

    bool isWritable() const { return m_bits != nullptr || m_width == 0 || m_height == 0; }

    void set(int x, int y, std::optional<QRgb> colour)
    {
        if (!colour || x < 0 || y < 0 || x >= m_width || y >= m_height)
            return;
        reinterpret_cast<QRgb*>(m_bits + y * m_stride)[x] = *colour;
    }

private:
    uchar* m_bits = nullptr;
    qsizetype m_stride = 0;
    int m_width;
    int m_height;
};

int centreOf(int size)
{
    return roundHalfEven(size / 2.0);
}

// The centres and the radius are 16-bit integers and the squares 32-bit ones. The radius grows
// with x and y, so the last step (n, n) has the largest.
bool fitsTheMapping(const QImage& scratch, const QImage& target, int n)
{
    const qint64 largestSquares = 2 * qint64(n) * n;
    return centreOf(scratch.width()) <= kInt16Max && centreOf(scratch.height()) <= kInt16Max
        && centreOf(target.width()) <= kInt16Max && centreOf(target.height()) <= kInt16Max
        && largestSquares <= kInt32Max && roundHalfEven(std::sqrt(double(largestSquares))) <= kInt16Max;
}

RotateStatus rotateByPolarMapping(
    const QImage& scratch, QImage& target, float theta, const std::function<void()>& refreshColumn)
{
    const float reach = (target.width() > target.height() ? target.width() : target.height()) / 2.0f;
    const int n = roundHalfEven(reach);
    if (!fitsTheMapping(scratch, target, n))
        return RotateStatus::TooLarge;
    const auto cxS = qint16(centreOf(scratch.width()));
    const auto cyS = qint16(centreOf(scratch.height()));
    const auto cxD = qint16(centreOf(target.width()));
    const auto cyD = qint16(centreOf(target.height()));

    const ScratchPixels source(scratch);
    for (int x = 0; x <= n; ++x) {
        // Taken afresh for every column: the refresh may have shared or replaced the image.
        TargetPixels painted(target);
        if (!painted.isWritable())
            return RotateStatus::OutOfMemory;
        for (int y = 0; y <= n; ++y) {
            const float a0 = x == 0 ? float(kPi / 2) : float(std::atan(double(y) / x));
            // No 16-bit overflow here: fitsTheMapping refused every picture whose corner step
            // (n, n), the largest radius of all, would not fit.
            const auto r = qint16(roundHalfEven(std::sqrt(double(x * x + y * y))));
            const float turned = a0 + theta;
            const int dx = roundHalfEven(r * std::cos(double(turned)));
            const int dy = roundHalfEven(r * std::sin(double(turned)));

            const std::optional<QRgb> c0 = source.at(cxS + dx, cyS + dy);
            const std::optional<QRgb> c1 = source.at(cxS - dx, cyS - dy);
            const std::optional<QRgb> c2 = source.at(cxS + dy, cyS - dx);
            const std::optional<QRgb> c3 = source.at(cxS - dy, cyS + dx);
            painted.set(cxD + x, cyD + y, c0);
            painted.set(cxD - x, cyD - y, c1);
            painted.set(cxD + y, cyD - x, c2);
            painted.set(cxD - y, cyD + x, c3);
        }
        if (refreshColumn)
            refreshColumn();
    }
    if (refreshColumn)
        refreshColumn();
    return RotateStatus::Done;
}

void copyIntoCorner(const QImage& from, QImage& to)
{
    const int width = std::min(from.width(), to.width());
    const int height = std::min(from.height(), to.height());
    for (int y = 0; y < height; ++y)
        std::memcpy(to.scanLine(y), from.constScanLine(y), size_t(width) * sizeof(QRgb));
}

RotateStatus turnByQuarter(const QImage& scratch, QImage& target, bool counterClockwise, QRgb background,
    const std::function<void()>& refreshColumn)
{
    const QImage turned = counterClockwise ? turnedCounterClockwise(scratch) : turnedClockwise(scratch);
    if (turned.isNull() && !scratch.isNull())
        return RotateStatus::OutOfMemory;
    const QSize exchanged = target.size().transposed();
    if (turned.size() == exchanged) {
        target = turned;
    } else {
        QImage canvas(exchanged, QImage::Format_RGB32);
        if (canvas.isNull() && !exchanged.isEmpty())
            return RotateStatus::OutOfMemory;
        canvas.fill(opaque(background));
        copyIntoCorner(turned, canvas);
        target = canvas;
    }
    if (refreshColumn)
        refreshColumn();
    return RotateStatus::Done;
}

} // namespace

RotateStatus RotatePixels(const QImage& scratch, QImage& target, float& angle, QRgb background,
    const std::function<void()>& refreshColumn)
{
    // The polar mapping with the offsets it was given for these two angles places the turned
    // picture off centre, losing a row and leaving background columns; a quarter turn is exact.
    const bool quarterTurn = angle == 90.0f || angle == 270.0f;
    const bool counterClockwise = angle == 90.0f;
    angle = float((kPi / 180) * double(angle));

    const QImage source = asRgb32(scratch);
    if (source.isNull() && !scratch.isNull())
        return RotateStatus::OutOfMemory;
    if (quarterTurn)
        return turnByQuarter(source, target, counterClockwise, background, refreshColumn);

    if (target.format() != QImage::Format_RGB32 && !target.isNull()) {
        QImage converted = asRgb32(target);
        if (converted.isNull())
            return RotateStatus::OutOfMemory;
        target = std::move(converted);
    }
    return rotateByPolarMapping(source, target, angle, refreshColumn);
}

RotateResult RotatePicture(const QImage& surface, QRgb background, qint16 degrees,
    const std::function<void(const QImage& paintedSoFar)>& showProgress)
{
    if (surface.isNull())
        return {};
    QImage target(surface.size(), QImage::Format_RGB32);
    if (target.isNull())
        return {QImage(), RotateStatus::OutOfMemory};
    target.fill(opaque(background));

    float angle = degrees;
    const RotateStatus status = RotatePixels(surface, target, angle, background, [&] {
        if (showProgress)
            showProgress(target);
    });
    if (status != RotateStatus::Done)
        return {QImage(), status};
    return {target, RotateStatus::Done};
}

} // namespace quorvex
