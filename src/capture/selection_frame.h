#pragma once

#include <QImage>
#include <QWidget>

namespace quorvex {

// The overlay's selection frame s1: paints selectionFrameImage() at its size. Clicks pass through it
// to whatever lies below, as they would through a drawn shape.
class SelectionFrame final : public QWidget {
public:
    explicit SelectionFrame(QWidget* parent);

    // Hatch and border on (the normal look) or off (all red, while a grab is taken).
    void setHatchAndBorder(bool on);
    bool hatchAndBorder() const { return m_hatchAndBorder; }

    // What is painted at the current size, pixel for pixel.
    const QImage& look() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool m_hatchAndBorder = true;
    mutable QImage m_look;
    mutable bool m_lookHatchAndBorder = false;
};

} // namespace quorvex
