#include "platform/wayland/layer_shell_overlay_window_system.h"

#include "platform/wayland/desktop_layout.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QSocketNotifier>
#include <QWidget>
#include <linux/input-event-codes.h>
#include <vector>

namespace quorvex {

namespace {

// Beyond any desktop (logical pixels).
constexpr int kFar = 1 << 20;

// The cursor theme's names for a widget's cursor, the common one first.
std::vector<const char*> cursorNames(Qt::CursorShape shape)
{
    switch (shape) {
    case Qt::SizeHorCursor:
        return {"sb_h_double_arrow", "size_hor", "left_side"};
    case Qt::SizeVerCursor:
        return {"sb_v_double_arrow", "size_ver", "top_side"};
    case Qt::SizeFDiagCursor:
        return {"fd_double_arrow", "size_fdiag", "bottom_right_corner"};
    case Qt::SizeBDiagCursor:
        return {"bd_double_arrow", "size_bdiag", "bottom_left_corner"};
    case Qt::PointingHandCursor:
        return {"hand2", "pointer", "hand1"};
    default:
        return {"left_ptr", "default"};
    }
}

} // namespace

LayerShellOverlayWindowSystem::LayerShellOverlayWindowSystem(std::unique_ptr<LayerSurfaces> surfaces)
    : m_surfaces(std::move(surfaces))
    , m_notifier(new QSocketNotifier(m_surfaces->fd(), QSocketNotifier::Read, this))
{
    connect(m_notifier, &QSocketNotifier::activated, this, [this] {
        m_surfaces->dispatch();
        if (m_surfaces->failed()) // its socket would stay readable for ever
            m_notifier->setEnabled(false);
    });
    m_surfaces->setPointerHandler([this](const LayerPointerEvent& event) { deliver(event); });
    // Escape closes the overlay once it has the keyboard (a compositor that gives it the keyboard when
    // clicked, as KWin does), as it does on X11.
    m_surfaces->setKeyHandler([this](uint32_t code, bool pressed) {
        if (pressed && code == KEY_ESC && m_window && m_window->isVisible()) {
            QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QCoreApplication::sendEvent(m_window, &escape);
        }
    });
}

LayerShellOverlayWindowSystem::~LayerShellOverlayWindowSystem() = default;

void LayerShellOverlayWindowSystem::applyShape(QWidget& window, const QRegion& shape)
{
    follow(window);
    m_shape = shape;
    redraw();
}

QPoint LayerShellOverlayWindowSystem::deviceTopLeft(const QWidget& window) const
{
    // The same mapping the screen-copy reader composes its picture by.
    const QPoint origin = m_surfaces->desktopOrigin();
    const DesktopPicture picture{{}, m_surfaces->largestScale(), origin.x(), origin.y()};
    const PixelRect corner = logicalToPicture(picture, {window.x(), window.y(), 0, 0});
    return {corner.x, corner.y};
}

void LayerShellOverlayWindowSystem::makeTopmost(QWidget& window)
{
    follow(window);
    window.show();
    redraw();
}

void LayerShellOverlayWindowSystem::waitForDisplay()
{
    m_surfaces->roundtrip();
}

bool LayerShellOverlayWindowSystem::hideFrame()
{
    // A frame held by a button stays: taken away, it would end the drag (the compositor never sends
    // the release). Its inside is clear for the grab anyway.
    if (m_pressed)
        return false;
    m_hidden = true;
    m_surfaces->hide();
    m_surfaces->roundtrip();
    return true;
}

void LayerShellOverlayWindowSystem::showFrame()
{
    m_hidden = false;
    redraw();
}

void LayerShellOverlayWindowSystem::follow(QWidget& window)
{
    if (m_window == &window)
        return;
    if (m_window)
        m_window->removeEventFilter(this);
    m_window = &window;
    m_shape = QRegion();
    // Shown, for Qt, with no window on the screen: the layer surfaces show it.
    window.setAttribute(Qt::WA_DontShowOnScreen);
    window.installEventFilter(this);
}

bool LayerShellOverlayWindowSystem::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_window)
        return false;
    switch (event->type()) {
    case QEvent::Move: // a resize redraws with its new shape
        redraw();
        break;
    case QEvent::Hide:
    case QEvent::Close:
        m_surfaces->hide();
        m_pressed = nullptr;
        break;
    default:
        break;
    }
    return false;
}

void LayerShellOverlayWindowSystem::redraw()
{
    if (!m_window || !m_window->isVisible() || m_hidden)
        return;
    // At the largest output scale, so the frame is sharp on every output.
    const int ratio = m_surfaces->largestScale();
    QImage widget(m_window->size() * ratio, QImage::Format_ARGB32_Premultiplied);
    widget.setDevicePixelRatio(ratio);
    widget.fill(Qt::transparent);
    m_window->render(&widget);
    // Only the shape shows: the rest stays transparent, the desktop below seen through it.
    QImage picture(widget.size(), QImage::Format_ARGB32_Premultiplied);
    picture.setDevicePixelRatio(ratio);
    picture.fill(Qt::transparent);
    {
        QPainter painter(&picture);
        painter.setClipRegion(m_shape);
        painter.drawImage(0, 0, widget);
    }
    // While a button is held the whole desktop takes the pointer, so a drag faster than the frame
    // follows still reaches it: the compositor holds no pointer grab for a layer surface.
    const QRegion input = m_pressed
        ? QRegion(QRect(-m_window->pos() - QPoint(kFar, kFar), QSize(2 * kFar, 2 * kFar)))
        : m_shape;
    m_surfaces->present(picture, m_window->pos(), input);
}

void LayerShellOverlayWindowSystem::deliver(const LayerPointerEvent& event)
{
    if (!m_window || !m_window->isVisible())
        return;
    const QPoint inWindow = (event.desktop - QPointF(m_window->pos())).toPoint();
    QWidget* target = m_pressed;
    if (!target) {
        target = m_window->childAt(inWindow);
        if (!target)
            target = m_window;
    }
    QEvent::Type type = QEvent::MouseMove;
    Qt::MouseButton button = Qt::NoButton;
    switch (event.kind) {
    case LayerPointerEvent::Leave:
        return;
    case LayerPointerEvent::Motion:
        break;
    case LayerPointerEvent::Press:
        type = QEvent::MouseButtonPress;
        button = event.button;
        m_buttons |= button;
        if (!m_pressed) {
            m_pressed = target;
            redraw();
        }
        break;
    case LayerPointerEvent::Release:
        type = QEvent::MouseButtonRelease;
        button = event.button;
        m_buttons &= ~button;
        break;
    }
    // The widget has no window on the screen to map through: its place is the window's plus its own.
    const QPointF local = event.desktop - QPointF(m_window->pos() + target->mapTo(m_window, QPoint(0, 0)));
    QMouseEvent mouse(type, local, QPointF(inWindow), event.desktop, button, m_buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &mouse);
    // The widgets set their cursors (the frame's edges say which way they size) as on X11.
    if (m_window) {
        QWidget* under = m_pressed ? m_pressed.data() : m_window->childAt(inWindow);
        m_surfaces->setCursor(cursorNames((under ? under : m_window.data())->cursor().shape()));
    }
    if (type == QEvent::MouseButtonRelease && !m_buttons && m_pressed) {
        m_pressed = nullptr;
        redraw();
    }
}

FrameHidingScreenSource::FrameHidingScreenSource(
    std::unique_ptr<ScreenSource> desktop, LayerShellOverlayWindowSystem& frame)
    : m_desktop(std::move(desktop))
    , m_frame(frame)
{
}

Result<QImage> FrameHidingScreenSource::grab(const QRect& rect)
{
    if (rect.isEmpty())
        return QImage();
    const bool hidden = m_frame.hideFrame();
    Result<QImage> picture = m_desktop->grab(rect);
    if (hidden)
        m_frame.showFrame();
    return picture;
}

} // namespace quorvex
