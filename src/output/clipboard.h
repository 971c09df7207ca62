#pragma once

#include <QImage>

class QClipboard;

namespace quorvex {

// Puts pic1's picture on the clipboard as an image of exactly its size and pixels, in place of
// whatever was there. X11 clients can read it as image/png, image/bmp and the other image types Qt
// writes. A picture view without a picture leaves the clipboard alone and gives false.
bool CopyPictureToClipboard(const QImage& picture, QClipboard& clipboard);

} // namespace quorvex
