#include "app/zoom.h"

namespace quorvex {

bool isAcceptablePictureSize(QSize size)
{
    return size.width() >= 1 && size.height() >= 1 && size.width() <= kMaxPictureSide
        && size.height() <= kMaxPictureSide
        && static_cast<long long>(size.width()) * size.height() <= kMaxPicturePixels;
}

QString refusedResizeText()
{
    return QStringLiteral("The picture was left as it was: it cannot be smaller than 1 pixel "
                          "or larger than %1 pixels a side (%2 pixels in all).")
        .arg(kMaxPictureSide)
        .arg(kMaxPicturePixels);
}

double zoomFactor(int percent, bool enlarge)
{
    return enlarge ? percent / 100.0 + 1.0 : 1.0 - percent / 100.0;
}

} // namespace quorvex
