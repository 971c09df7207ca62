#pragma once

#include <QWidget>

namespace quorvex {

class PictureBox;

// The widget that shows pic1: its surface inside a sunken edge, at the box's geometry, each picture
// pixel on one device pixel of the screen. Mouse events go to the owner with positions in twips
// relative to the inner top-left.
class PictureView : public QWidget {
    Q_OBJECT
public:
    PictureView(const PictureBox& box, QWidget* parent);

    // Takes position, size and visibility from the box and repaints.
    void sync();

signals:
    void pressed(QPointF twipsPos);
    void moved(QPointF twipsPos);
    void released();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QPointF innerTwips(const QPointF& pixelPos) const;

    const PictureBox& m_box;
    QPoint m_deviceOffset; // where the box starts inside the widget, in device pixels
};

} // namespace quorvex
