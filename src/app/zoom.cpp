#include "app/zoom.h"

namespace quorvex {

bool isAcceptablePictureSize(QSize size)
{
    return size.width() >= 1 && size.height() >= 1 && size.width() <= kMaxPictureSide
        && size.height() <= kMaxPictureSide
        && static_cast<long long>(size.width()) * size.height() <= kMaxPicturePixels;
}

double zoomFactor(int percent, bool enlarge)
{
    return enlarge ? percent / 100.0 + 1.0 : 1.0 - percent / 100.0;
}

} // namespace quorvex
