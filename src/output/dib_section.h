#pragma once

#include "output/dib_layout.h"

#include <QImage>
#include <QPainter>
#include <cstdlib>
#include <memory>

class QClipboard;

namespace quorvex {

class MessageBoxes;

// A 24-bit, bottom-up, 4-byte-aligned BGR pixel array with a stable address, the shape JPEG and
// BMP writers read directly. Empty after construction and ClearUp; holding after a successful
// Create. Width and Height report the last requested size even when empty.
//
// Qt has no device contexts or GDI handles. Pictures are copied in from a QImage (LoadPictureBlt)
// and drawn out through a QPainter (PaintPicture); hDib and hDC remain as opaque handles that are
// non-zero exactly while the object holds pixels (the pixel buffer's and the object's address).
// Raster operations are QPainter composition modes; SRCCOPY is CompositionMode_Source.
//
// Create, CreateDIB and BytesPerScanLine throw NumberedError(kOverflowError) when the stride or
// the image size does not fit in 32 bits; the object is then empty.
class cDIBSection {
public:
    cDIBSection() = default;
    ~cDIBSection() { ClearUp(); }
    cDIBSection(const cDIBSection&) = delete;
    cDIBSection& operator=(const cDIBSection&) = delete;

    // Puts the pixels on the clipboard as an image. bAsDIB is refused with a message; an empty
    // object puts nothing there. True when the clipboard took the image.
    bool CopyToClipboard(bool bAsDIB, QClipboard& clipboard, MessageBoxes& messages) const;

    // Writes the header and allocates the zeroed pixel array; hDib receives its handle (0 when
    // refused: a width or height below 1, or too little memory).
    bool CreateDIB(int lWidth, int lHeight, quintptr& hDib);

    // Create at the picture's size and copy all of it in; the object stays empty when that fails.
    void CreateFromPicture(const QImage& picThis);

    // Releases what the object holds, then makes a new array of that size.
    bool Create(int lWidth, int lHeight);

    int BytesPerScanLine() const { return dibStride(m_header.biWidth); }
    int Width() const { return m_header.biWidth; }
    int Height() const { return m_header.biHeight; }

    // Copies the lSrcWidth x lSrcHeight block at (lSrcLeft, lSrcTop) of lhDC to (0, 0) of the
    // array; negative sizes mean the whole array. Parts outside either image are left as they are.
    void LoadPictureBlt(const QImage& lhDC, int lSrcLeft, int lSrcTop, int lSrcWidth, int lSrcHeight,
        QPainter::CompositionMode eRop = QPainter::CompositionMode_Source);

    // Draws the lDestWidth x lDestHeight block at (lSrcLeft, lSrcTop) of the array at
    // (lDestLeft, lDestTop) of lhDC, unscaled; negative sizes mean the whole array.
    void PaintPicture(QPainter& lhDC, int lDestLeft, int lDestTop, int lDestWidth, int lDestHeight,
        int lSrcLeft, int lSrcTop, QPainter::CompositionMode eRop = QPainter::CompositionMode_Source) const;

    quintptr hDC() const { return m_bits ? reinterpret_cast<quintptr>(this) : 0; }
    quintptr hDib() const { return reinterpret_cast<quintptr>(m_bits.get()); }
    uchar* DIBSectionBitsPtr() { return m_bits.get(); }
    const uchar* DIBSectionBitsPtr() const { return m_bits.get(); }

    void ClearUp() { m_bits.reset(); }

    const BitmapInfoHeader& bitmapInfo() const { return m_header; }

    // A top-down Format_RGB32 copy of the pixels; null when empty.
    QImage toImage() const { return toImage(QRect(0, 0, Width(), Height())); }

private:
    struct FreeDeleter {
        void operator()(uchar* bits) const { std::free(bits); }
    };

    QImage toImage(const QRect& area) const;
    void storeRows(const QImage& rgb32, const QRect& sourceArea, int targetLeft, int targetTop);

    BitmapInfoHeader m_header;
    std::unique_ptr<uchar[], FreeDeleter> m_bits;
};

} // namespace quorvex
