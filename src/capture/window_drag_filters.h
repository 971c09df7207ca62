#pragma once

#include <QObject>
#include <QPoint>
#include <QRect>

class QWidget;

namespace quorvex {

// Sizes a frameless window by the thin frame it draws itself (installed on that window): the cursor
// shows which edges a press would take, and a drag with the left button moves them. Works the same
// with a window manager and without one, since it only ever sets the window's geometry.
class FrameSizer final : public QObject {
public:
    FrameSizer(QWidget* window, int framePixels);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_window;
    int m_framePixels;
    Qt::Edges m_edges;
    QPoint m_pressGlobal;
    QRect m_startGeometry;
};

// Moves a window by dragging one of its children (installed on that child) with any mouse button:
// the window follows the pointer by what it moved since the press.
class DragMover final : public QObject {
public:
    explicit DragMover(QWidget* window);

    bool dragging() const { return m_dragging; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_window;
    bool m_dragging = false;
    QPoint m_pressGlobal;
    QPoint m_startPosition;
};

} // namespace quorvex
