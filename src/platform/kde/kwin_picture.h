#pragma once

#include "capture/screen_reader.h"
#include "common/result.h"

#include <cstdint>
#include <memory>

// What KWin's screenshot interface (org.kde.KWin.ScreenShot2) sends, as plain rules: the picture's
// layout from its answer, checked before any byte is read, and its pixels as this program's.
namespace quorvex {

inline constexpr const char* kKWinBusName = "org.kde.KWin";
inline constexpr const char* kKWinScreenshotPath = "/org/kde/KWin/ScreenShot2";
inline constexpr const char* kKWinScreenshotInterface = "org.kde.KWin.ScreenShot2";
inline constexpr const char* kKWinRefusedError = "org.kde.KWin.ScreenShot2.Error.NoAuthorized";
// The interface's version that captures the whole workspace.
inline constexpr std::uint32_t kKWinWorkspaceVersion = 3;

// The results of a capture: "type" (only "raw" is known), "width", "height", "stride" (bytes per row)
// and "format" (a QImage::Format number).
struct KWinPictureLayout {
    std::string type;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint32_t stride = 0;
    std::uint32_t format = 0;
};

// Why pixels of that layout cannot be read (a type or format this program does not know, a size no
// desktop has, rows too short for their pixels); empty where they can.
std::string kwinLayoutFailure(const KWinPictureLayout& layout);

// How many bytes the pipe carries for a layout that has no failure.
inline std::size_t kwinPictureBytes(const KWinPictureLayout& layout)
{
    return std::size_t(layout.stride) * layout.height;
}

// The bytes read from the pipe as this program's pixels (32-bit 0x..RRGGBB words in the machine's
// byte order), in place: the byte-ordered formats have their bytes reordered.
ScreenPixels kwinPixels(std::shared_ptr<unsigned char[]> bytes, const KWinPictureLayout& layout);

} // namespace quorvex
