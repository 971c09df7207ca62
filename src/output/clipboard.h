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

// Where Save to Clipboard puts pic1's picture.
class PictureClipboard {
public:
    virtual ~PictureClipboard() = default;
    // Puts `picture` on the clipboard in place of whatever was there; or why it could not.
    virtual Status put(const QImage& picture) = 0;
};

// Qt's clipboard, served by this program while it runs (and by `keeper` after it, see below).
class QtPictureClipboard final : public PictureClipboard {
public:
    explicit QtPictureClipboard(QClipboard& clipboard)
        : m_clipboard(clipboard)
    {
    }
    Status put(const QImage& picture) override;

private:
    QClipboard& m_clipboard;
};

// A Wayland compositor that offers data control (zwlr_data_control_manager_v1) lets a client take the
// clipboard without the keyboard's focus or an input serial, which a copy chosen from a menu may
// lack: `keeper` (quorvex7, in its --keep-clipboard mode) takes it so at once, as image/png and
// image/bmp, and serves it until another program takes the clipboard, after our end too.
class KeptPictureClipboard final : public PictureClipboard {
public:
    explicit KeptPictureClipboard(QString keeper)
        : m_keeper(std::move(keeper))
    {
    }
    Status put(const QImage& picture) override;

private:
    QString m_keeper;
};

// At the program's end: where the clipboard still holds our picture, `keeper` (quorvex7, in its
// --keep-clipboard mode) takes it over as image/png and image/bmp, byte for byte what we served, and
// serves it on after we are gone (or hands it to the desktop's clipboard manager). `platform` is Qt's
// platform name ("xcb", "wayland"); elsewhere there is nothing to keep. Returns once the keeper holds
// it, or why it could not.
Status keepClipboardAfterExit(QClipboard& clipboard, const QString& platform, const QString& keeper);

} // namespace quorvex
