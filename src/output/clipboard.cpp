#include "output/clipboard.h"

#include <QClipboard>

namespace quorvex {

bool CopyPictureToClipboard(const QImage& picture, QClipboard& clipboard)
{
    if (picture.isNull())
        return false;
    // New data replaces every format the clipboard offered before, so no separate clear is needed.
    clipboard.setImage(picture.convertToFormat(QImage::Format_RGB32));
    return true;
}

} // namespace quorvex
