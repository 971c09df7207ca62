#pragma once

#include <QImage>
#include <QString>
#include <QtGlobal>

namespace quorvex {

// How a display server lays out the pixels of a true-colour screen in its image replies: the
// bits of each pixel, their byte order, which bits hold each channel, and the padding of a row.
struct PixelLayout {
    int bitsPerPixel = 32; // 8, 16, 24 or 32
    bool mostSignificantByteFirst = false;
    quint32 redMask = 0xff0000;
    quint32 greenMask = 0xff00;
    quint32 blueMask = 0xff;
    int scanlinePad = 32; // each row is padded to a multiple of this many bits

    bool operator==(const PixelLayout&) const = default;
};

// Whether rows in this layout can be turned into Format_RGB32: each channel one run of 1 to 16
// bits, the three apart, inside the pixel.
bool canConvert(const PixelLayout& layout);

// Whether the bytes already are Format_RGB32's (0x00RRGGBB words in this machine's byte order), so
// a reply can become a picture without a copy.
bool isRgb32AsIs(const PixelLayout& layout);

// Bytes in one row of `width` pixels, padding included; 0 when the layout is unusable or the row
// would not fit in memory.
qsizetype bytesPerRow(const PixelLayout& layout, int width);

// Turns `height` rows of `width` pixels, `sourceStride` bytes apart, into a new Format_RGB32
// picture. Channels narrower than 8 bits are widened by repeating their bits (31 of 5 bits is
// 255, 16 is 132); wider ones keep their top 8 bits. Empty when the layout cannot be converted or
// there is no memory for the picture.
QImage convertToRgb32(
    const PixelLayout& layout, const uchar* source, qsizetype sourceStride, int width, int height);

// The words users read for an X visual class ("PseudoColor"), and the one-line reason a screen of
// that depth and class cannot be read.
QString visualClassName(int visualClass);
QString unreadablePixelFormat(int depth, int visualClass);

} // namespace quorvex
