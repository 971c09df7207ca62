#include "output/dib_section.h"

#include "common/message_box.h"
#include "output/bgr_rows.h"

#include <QClipboard>
#include <QMimeData>
#include <algorithm>

namespace quorvex {

namespace {

// The part of the block at (left, top) that lies inside an image of `bounds`, worked out in 64 bits
// so that no start or size, however odd, can overflow.
QRect blockInside(qint64 left, qint64 top, qint64 width, qint64 height, const QSize& bounds)
{
    const qint64 x1 = std::max<qint64>(left, 0);
    const qint64 y1 = std::max<qint64>(top, 0);
    const qint64 x2 = std::min<qint64>(left + width, bounds.width());
    const qint64 y2 = std::min<qint64>(top + height, bounds.height());
    if (x2 <= x1 || y2 <= y1)
        return {};
    return QRect(int(x1), int(y1), int(x2 - x1), int(y2 - y1));
}

bool holdsRgb32Pixels(const QImage& image)
{
    return image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32;
}

} // namespace

bool cDIBSection::CreateDIB(int lWidth, int lHeight, quintptr& hDib)
{
    hDib = 0;
    m_bits.reset();
    m_header = dibHeader(lWidth, lHeight);
    const int imageSize = int(m_header.biSizeImage);
    // A negative height would mean a top-down array; this class is bottom-up only.
    if (lWidth < 1 || lHeight < 1)
        return false;
    // calloc instead of new: a refused size must come back as a null pointer, and the kernel
    // hands out zeroed pages without touching them first.
    m_bits.reset(static_cast<uchar*>(std::calloc(size_t(imageSize), 1)));
    hDib = this->hDib();
    return hDib != 0;
}

bool cDIBSection::Create(int lWidth, int lHeight)
{
    ClearUp();
    quintptr handle = 0;
    return CreateDIB(lWidth, lHeight, handle);
}

void cDIBSection::CreateFromPicture(const QImage& picThis)
{
    if (!Create(picThis.width(), picThis.height()))
        return;
    LoadPictureBlt(picThis, 0, 0, -1, -1);
}

void cDIBSection::LoadPictureBlt(const QImage& lhDC, int lSrcLeft, int lSrcTop, int lSrcWidth, int lSrcHeight,
    QPainter::CompositionMode eRop)
{
    if (!m_bits)
        return;
    const int width = lSrcWidth < 0 ? Width() : std::min(lSrcWidth, Width());
    const int height = lSrcHeight < 0 ? Height() : std::min(lSrcHeight, Height());
    const QRect block = blockInside(lSrcLeft, lSrcTop, width, height, lhDC.size());
    if (block.isEmpty())
        return;
    const int targetLeft = int(qint64(block.x()) - lSrcLeft);
    const int targetTop = int(qint64(block.y()) - lSrcTop);

    if (eRop == QPainter::CompositionMode_Source) {
        if (holdsRgb32Pixels(lhDC)) {
            storeRows(lhDC, block, targetLeft, targetTop);
        } else {
            const QImage converted = lhDC.copy(block).convertToFormat(QImage::Format_RGB32);
            storeRows(converted, converted.rect(), targetLeft, targetTop);
        }
        return;
    }
    QImage canvas = toImage();
    QPainter painter(&canvas);
    painter.setCompositionMode(eRop);
    painter.drawImage(QPoint(targetLeft, targetTop), lhDC, block);
    painter.end();
    storeRows(canvas, canvas.rect(), 0, 0);
}

void cDIBSection::PaintPicture(QPainter& lhDC, int lDestLeft, int lDestTop, int lDestWidth, int lDestHeight,
    int lSrcLeft, int lSrcTop, QPainter::CompositionMode eRop) const
{
    if (!m_bits)
        return;
    const int width = lDestWidth < 0 ? Width() : lDestWidth;
    const int height = lDestHeight < 0 ? Height() : lDestHeight;
    const QRect block = blockInside(lSrcLeft, lSrcTop, width, height, QSize(Width(), Height()));
    if (block.isEmpty())
        return;
    const QPointF target(double(lDestLeft) + block.x() - lSrcLeft, double(lDestTop) + block.y() - lSrcTop);
    lhDC.save();
    lhDC.setCompositionMode(eRop);
    lhDC.drawImage(target, toImage(block));
    lhDC.restore();
}

bool cDIBSection::CopyToClipboard(bool bAsDIB, QClipboard& clipboard, MessageBoxes& messages) const
{
    if (bAsDIB) {
        messages.show(
            {QStringLiteral("I don't know how to put a DIB on the clipboard! Copy as bitmap instead!!!"),
                MessageIcon::None});
        return false;
    }
    const QImage image = toImage();
    if (image.isNull())
        return false;
    clipboard.setImage(image);
    const QMimeData* accepted = clipboard.mimeData();
    return accepted != nullptr && accepted->hasImage();
}

QImage cDIBSection::toImage(const QRect& area) const
{
    if (!m_bits || area.isEmpty())
        return {};
    QImage image(area.size(), QImage::Format_RGB32);
    if (image.isNull())
        return {};
    const int stride = BytesPerScanLine();
    for (int row = 0; row < area.height(); ++row) {
        const uchar* source = m_bits.get() + bottomUpOffset(area.x(), area.y() + row, Height(), stride);
        bgrToRgb32Row(source, reinterpret_cast<QRgb*>(image.scanLine(row)), area.width());
    }
    return image;
}

void cDIBSection::storeRows(const QImage& rgb32, const QRect& sourceArea, int targetLeft, int targetTop)
{
    const int stride = BytesPerScanLine();
    for (int row = 0; row < sourceArea.height(); ++row) {
        const auto* source
            = reinterpret_cast<const QRgb*>(rgb32.constScanLine(sourceArea.y() + row)) + sourceArea.x();
        uchar* target = m_bits.get() + bottomUpOffset(targetLeft, targetTop + row, Height(), stride);
        rgb32ToBgrRow(source, target, sourceArea.width());
    }
}

} // namespace quorvex
