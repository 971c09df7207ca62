#include "capture/window_drag_filters.h"

#include "capture/frame_edge_geometry.h"

#include <QMouseEvent>
#include <QWidget>

namespace quorvex {

FrameSizer::FrameSizer(QWidget* window, int framePixels)
    : QObject(window)
    , m_window(window)
    , m_framePixels(framePixels)
{
    window->setMouseTracking(true);
    window->installEventFilter(this);
}

bool FrameSizer::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_window)
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        const Qt::Edges edges = frameEdgesAt(mouse->position().toPoint(), m_window->size(), m_framePixels);
        if (mouse->button() != Qt::LeftButton || !edges)
            return false;
        m_edges = edges;
        m_pressGlobal = mouse->globalPosition().toPoint();
        m_startGeometry = m_window->geometry();
        return true;
    }
    case QEvent::MouseMove: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (!m_edges) {
            const Qt::Edges hovered
                = frameEdgesAt(mouse->position().toPoint(), m_window->size(), m_framePixels);
            m_window->setCursor(cursorForEdges(hovered));
            return false;
        }
        // Global positions: the window itself moves under the pointer when a left or top edge is dragged.
        const QPoint delta = mouse->globalPosition().toPoint() - m_pressGlobal;
        m_window->setGeometry(resizedByFrame(
            m_startGeometry, m_edges, delta, m_window->minimumSize(), m_window->maximumSize()));
        return true;
    }
    case QEvent::MouseButtonRelease:
        if (!m_edges || static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton)
            return false;
        m_edges = {};
        return true;
    default:
        return false;
    }
}

DragMover::DragMover(QWidget* window)
    : QObject(window)
    , m_window(window)
{
}

bool DragMover::eventFilter(QObject*, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        m_dragging = true;
        m_pressGlobal = mouse->globalPosition().toPoint();
        m_startPosition = m_window->pos();
        return true;
    }
    case QEvent::MouseMove:
        if (!m_dragging)
            return false;
        m_window->move(
            m_startPosition + static_cast<QMouseEvent*>(event)->globalPosition().toPoint() - m_pressGlobal);
        return true;
    case QEvent::MouseButtonRelease:
        m_dragging = false;
        return true;
    default:
        return false;
    }
}

} // namespace quorvex
