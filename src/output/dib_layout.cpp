#include "output/dib_layout.h"

#include "output/numbered_error.h"

#include <limits>

namespace quorvex {

namespace {

int checkedInt(qint64 value)
{
    if (value > std::numeric_limits<int>::max() || value < std::numeric_limits<int>::min())
        throw NumberedError(
            kOverflowError, errorSource(QStringLiteral("cDIBSection")), QStringLiteral("Overflow"));
    return static_cast<int>(value);
}

} // namespace

int dibStride(int width)
{
    // Clearing the two low bits rounds toward minus infinity, so this is the ceiling for any sign.
    return checkedInt(qint64(width) * 3 + 3) & ~3;
}

int dibImageSize(int width, int height)
{
    return checkedInt(qint64(dibStride(width)) * height);
}

} // namespace quorvex
