#pragma once

#include "output/jpeg_encoder.h"
#include "output/save_dialog.h"

#include <QImage>
#include <functional>

namespace quorvex {

class MessageBoxes;

// What Save As needs of the picture view pic1.
struct PictureViewAccess {
    std::function<QImage()> surfaceImage; // the image of its drawing surface: what it shows
    std::function<void(const QImage&)> replacePicture; // makes that image its committed picture
};

enum class SaveFormat { Bmp, Jpeg, Unknown };

// Decided by the last three characters of the path alone, in any case: "shotbmp" is a BMP name.
SaveFormat saveFormatFor(const QString& path);

inline const QString kSaveFilter = QStringLiteral("BMP Files (*.BMP)|*.BMP|JPEG Files (*.JPG)|*.JPG");

// Asks for a file name and writes pic1's drawing surface there: as a 24-bit BMP file, or as a
// JPEG file at quality 90 after making that image pic1's picture. Cancel writes and shows nothing;
// a name ending in neither BMP nor JPG writes nothing and says so; any failure to write shows
// "Failed to save the picture to the file: '<path>'". An existing file is replaced only once the
// new one is complete; one marked read-only is not replaced at all, and the warning then ends in
// ": the file is read-only".
void SaveGrabbedImage(
    SaveFileDialog& dialog, MessageBoxes& messages, QWidget* owner, const PictureViewAccess& pic1);

} // namespace quorvex
