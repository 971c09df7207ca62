#pragma once

#include "common/numeric.h"

#include <QColor>
#include <QImage>
#include <QSize>

namespace quorvex {

// The picture box of the old form designer as a plain model: a committed picture, a persistent
// drawing surface of the inner area, and geometry in twips stored the way a control stores it,
// as whole pixels (what is read back is the pixel count times twips per pixel).
class PictureBox {
public:
    // Thickness of the sunken edge on each side, counted in the outer size.
    static constexpr int kBorderPixels = 2;

    explicit PictureBox(Twips twips = {}, bool hasBorder = false, bool autoSize = true);

    // --- picture and surface
    bool hasPicture() const { return !m_picture.isNull(); }
    const QImage& picture() const { return m_picture; }
    // Replaces the picture and redraws the surface with it at the top-left corner; a box that sizes
    // to its picture takes the picture's size as its inner size. Assignment shares the pixels.
    void setPicture(const QImage& picture);
    const QImage& surface() const { return m_surface; }
    QImage& surface() { return m_surface; }
    // picture := image of the drawing surface.
    void takeSurfaceAsPicture() { setPicture(m_surface); }

    // --- geometry in twips
    double left() const { return twips().fromPixelsX(m_leftPx); }
    double top() const { return twips().fromPixelsY(m_topPx); }
    double width() const { return twips().fromPixelsX(m_widthPx); }
    double height() const { return twips().fromPixelsY(m_heightPx); }
    double scaleWidth() const { return twips().fromPixelsX(innerSize().width()); }
    double scaleHeight() const { return twips().fromPixelsY(innerSize().height()); }
    void setLeft(double twipsValue) { m_leftPx = twips().toPixelsX(twipsValue); }
    void setTop(double twipsValue) { m_topPx = twips().toPixelsY(twipsValue); }
    // A negative size, or one whose surface could not be held (see zoom.h), is refused (false), as a
    // control refuses it; nothing changes then.
    bool setWidth(double twipsValue);
    bool setHeight(double twipsValue);
    // Sets the outer size and, in one step, the surface that covers the whole new inner area
    // (nothing of the old surface would show). False, and nothing changes, when they do not fit.
    bool resizeWithSurface(double widthTwips, double heightTwips, const QImage& surface);

    // --- the same geometry in pixels
    QPoint positionPixels() const { return {m_leftPx, m_topPx}; }
    QSize outerSize() const { return {m_widthPx, m_heightPx}; }
    QSize innerSize() const;
    int borderPixels() const { return m_hasBorder ? kBorderPixels : 0; }

    bool hasBorder() const { return m_hasBorder; }
    void setBorder(bool on);
    bool autoSize() const { return m_autoSize; }
    void setAutoSize(bool on) { m_autoSize = on; }
    bool isVisible() const { return m_visible; }
    void setVisible(bool visible) { m_visible = visible; }
    QColor backColor() const { return m_backColor; }
    void setBackColor(const QColor& color) { m_backColor = color; }
    const Twips& twips() const { return m_twips; }

private:
    bool fitsSurface(int widthPx, int heightPx) const;
    void setOuterPixels(int width, int height);
    void resizeSurface();

    Twips m_twips;
    bool m_hasBorder;
    bool m_autoSize;
    bool m_visible = false;
    QColor m_backColor = Qt::white;
    int m_leftPx = 0;
    int m_topPx = 0;
    int m_widthPx = 0;
    int m_heightPx = 0;
    QImage m_picture;
    QImage m_surface;
};

} // namespace quorvex
