#pragma once

#include <QSize>
#include <QString>

namespace quorvex {

// The largest picture the view accepts: X11 windows and QPainter stop at 32767 pixels a side, and
// 2^28 pixels (1 GiB at 32 bits) per copy keeps the three copies of the picture affordable.
constexpr int kMaxPictureSide = 32767;
constexpr long long kMaxPicturePixels = 1LL << 28;

// Whether a picture of this inner size may be made: at least 1 pixel each way, within the bounds.
bool isAcceptablePictureSize(QSize size);

// What the user is told when a zoom or a stretch would leave the picture outside those bounds.
QString refusedResizeText();

// Factor of a zoom step: percent / 100 + 1 to enlarge, 1 - percent / 100 to reduce.
double zoomFactor(int percent, bool enlarge);

} // namespace quorvex
