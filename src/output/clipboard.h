#pragma once

#include "common/result.h"

#include <QImage>
#include <QString>

class QClipboard;

namespace quorvex {

// Puts pic1's picture on the clipboard as an image of exactly its size and pixels, in place of
// whatever was there. X11 clients can read it as image/png, image/bmp and the other image types Qt
// writes. A picture view without a picture leaves the clipboard alone and gives false.
bool CopyPictureToClipboard(const QImage& picture, QClipboard& clipboard);

// At the program's end: where the clipboard still holds our picture, `keeper` (quorvex7, in its
// --keep-clipboard mode) takes it over as image/png and image/bmp, byte for byte what we served, and
// serves it on after we are gone (or hands it to the desktop's clipboard manager). `platform` is Qt's
// platform name ("xcb", "wayland"); elsewhere there is nothing to keep. Returns once the keeper holds
// it, or why it could not.
Status keepClipboardAfterExit(QClipboard& clipboard, const QString& platform, const QString& keeper);

} // namespace quorvex
