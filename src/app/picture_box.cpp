#include "app/picture_box.h"

#include "app/zoom.h"

#include <QPainter>
#include <algorithm>

namespace quorvex {

PictureBox::PictureBox(Twips twips, bool hasBorder, bool autoSize)
    : m_twips(twips)
    , m_hasBorder(hasBorder)
    , m_autoSize(autoSize)
{
}

void PictureBox::setPicture(const QImage& picture)
{
    m_picture = picture;
    if (m_autoSize && hasPicture()) {
        const int border = 2 * borderPixels();
        m_widthPx = picture.width() + border;
        m_heightPx = picture.height() + border;
    }
    // The surface shows the new picture on the background, nothing of what was drawn before.
    if (hasPicture() && innerSize() == picture.size()) {
        m_surface = picture; // shared until someone draws on it
        return;
    }
    m_surface = QImage(innerSize(), QImage::Format_RGB32);
    if (m_surface.isNull())
        return;
    m_surface.fill(m_backColor);
    if (hasPicture()) {
        QPainter painter(&m_surface);
        painter.drawImage(0, 0, picture);
    }
}

bool PictureBox::resizeWithSurface(double widthTwips, double heightTwips, const QImage& surface)
{
    const int width = m_twips.toPixelsX(widthTwips);
    const int height = m_twips.toPixelsY(heightTwips);
    const int border = 2 * borderPixels();
    if (widthTwips < 0 || heightTwips < 0 || surface.size() != QSize(width - border, height - border))
        return false;
    m_widthPx = width;
    m_heightPx = height;
    m_surface = surface;
    return true;
}

bool PictureBox::fitsSurface(int widthPx, int heightPx) const
{
    const int border = 2 * borderPixels();
    const QSize inner(std::max(1, widthPx - border), std::max(1, heightPx - border));
    return isAcceptablePictureSize(inner);
}

bool PictureBox::setWidth(double twipsValue)
{
    const int pixels = m_twips.toPixelsX(twipsValue);
    if (twipsValue < 0 || pixels < 0 || !fitsSurface(pixels, m_heightPx))
        return false;
    setOuterPixels(pixels, m_heightPx);
    return true;
}

bool PictureBox::setHeight(double twipsValue)
{
    const int pixels = m_twips.toPixelsY(twipsValue);
    if (twipsValue < 0 || pixels < 0 || !fitsSurface(m_widthPx, pixels))
        return false;
    setOuterPixels(m_widthPx, pixels);
    return true;
}

QSize PictureBox::innerSize() const
{
    const int border = 2 * borderPixels();
    return {std::max(0, m_widthPx - border), std::max(0, m_heightPx - border)};
}

void PictureBox::setBorder(bool on)
{
    if (on == m_hasBorder)
        return;
    // The outer size stays; the inner area gains or loses the edge.
    m_hasBorder = on;
    resizeSurface();
}

void PictureBox::setOuterPixels(int width, int height)
{
    m_widthPx = width;
    m_heightPx = height;
    resizeSurface();
}

void PictureBox::resizeSurface()
{
    const QSize inner = innerSize();
    if (m_surface.size() == inner)
        return;
    // A persistent surface keeps what it shows at the top-left; new area shows the background.
    QImage resized(inner, QImage::Format_RGB32);
    if (resized.isNull()) {
        m_surface = QImage();
        return;
    }
    resized.fill(m_backColor);
    if (!m_surface.isNull()) {
        QPainter painter(&resized);
        painter.drawImage(0, 0, m_surface);
    }
    m_surface = resized;
}

} // namespace quorvex
