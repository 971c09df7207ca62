#include "platform/still/still_picture.h"

#include "common/event_wait.h"

#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QShortcut>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace quorvex {

namespace {

// A compositor shows the desktop again within a frame or two of a window's going; one that fades
// windows out takes a few more.
constexpr int kDesktopShownAgainMs = 200;

// The part of the desktop picture the still shows, filling it.
class StillWindow final : public QWidget {
public:
    StillWindow()
        : QWidget(nullptr, Qt::FramelessWindowHint)
    {
        setObjectName(QStringLiteral("stillPicture"));
        setAttribute(Qt::WA_QuitOnClose, false);
        setAttribute(Qt::WA_OpaquePaintEvent);
        setCursor(Qt::ArrowCursor);
    }
    void setPicture(const QImage& picture, const QRect& source)
    {
        m_picture = picture;
        m_source = source;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::black);
        painter.drawImage(rect(), m_picture, m_source);
    }

private:
    QImage m_picture;
    QRect m_source;
};

void waitWithEvents(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// Lets events run until the compositor has drawn a new frame of `window` (at most a second).
void waitForFrame(QWidget& window)
{
    QWindow* handle = window.windowHandle();
    if (!handle || !handle->isExposed())
        return;
    // A new frame committed now; an update asked for after it comes once the compositor has drawn it
    // (where the display says so; elsewhere at once).
    waitForEvent(
        *handle, [](const QEvent& event) { return event.type() == QEvent::UpdateRequest; },
        [&] {
            window.repaint();
            handle->requestUpdate();
        });
}

// Returns once the desktop shows what was asked of it so far without the still: a menu or dialog of
// ours gone. Qt sends its requests only when its event loop runs; the compositor has drawn them once
// it has drawn a window of ours anew; and one that fades windows out takes a moment more.
void waitForDesktopRedrawn(const QWidget* still)
{
    QElapsedTimer elapsed;
    elapsed.start();
    QCoreApplication::processEvents();
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window != still && window->isVisible() && window->windowHandle()
            && window->windowHandle()->isExposed()) {
            waitForFrame(*window);
            break;
        }
    if (const qint64 left = kDesktopShownAgainMs - elapsed.elapsed(); left > 0)
        waitWithEvents(int(left));
}

// `rect` of `picture`, black where it leaves the picture.
QImage partOf(const QImage& picture, const QRect& rect)
{
    QImage part(rect.size(), QImage::Format_RGB32);
    part.fill(Qt::black);
    QPainter painter(&part);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(-rect.topLeft(), picture);
    return part;
}

} // namespace

StillPicture::StillPicture(std::unique_ptr<ScreenSource> desktop)
    : m_desktop(std::move(desktop))
{
}

StillPicture::~StillPicture()
{
    delete m_window.data();
}

Result<QImage> StillPicture::readDesktop()
{
    // One screenshot: the size read takes it, the grab reads from it.
    const Result<QSize> size = m_desktop->screenSize();
    if (!size)
        return fail(size.error());
    Result<QImage> picture = size->isEmpty() ? QImage() : m_desktop->grab(QRect(QPoint(), *size));
    if (picture && picture->isNull())
        return fail("the desktop could not be read");
    return picture;
}

Status StillPicture::take(QScreen* home)
{
    if (m_window) { // one left by an overlay that never closed
        m_window->hide();
        m_window->deleteLater();
    }
    m_overlay = nullptr;
    if (!home)
        home = QGuiApplication::primaryScreen();
    waitForDesktopRedrawn(nullptr);
    Result<QImage> picture = readDesktop();
    if (!picture)
        return fail(picture.error());
    if (!home)
        return {};
    m_picture = std::move(*picture);
    m_view = stillView(m_picture.size(), home->virtualGeometry(), home->geometry());
    auto* window = new StillWindow;
    window->setPicture(m_picture, m_view.source);
    // A full-screen still hides the main window: Escape leaves it, as the "x" does.
    auto* leave = new QShortcut(QKeySequence(Qt::Key_Escape), window);
    connect(leave, &QShortcut::activated, this, [this] {
        if (m_overlay)
            m_overlay->close();
    });
    window->setScreen(home);
    window->setGeometry(home->geometry());
    m_window = window;
    return {};
}

void StillPicture::hold(QWidget& overlay)
{
    if (!m_window)
        return; // no still was taken: the overlay stays a window of its own
    if (overlay.parentWidget() != m_window) {
        const QPoint onStill = overlay.pos() - m_window->geometry().topLeft();
        overlay.setParent(m_window, Qt::Widget);
        overlay.move(onStill);
        overlay.installEventFilter(this);
        m_overlay = &overlay;
    }
    show();
    overlay.show();
    overlay.raise();
}

void StillPicture::show()
{
    m_window->showFullScreen();
    m_window->raise();
    m_window->activateWindow();
}

Result<QImage> StillPicture::readFresh(const QRect& rect)
{
    const bool shown = m_window && m_window->isVisible();
    if (shown) {
        m_window->hide();
        waitForDesktopRedrawn(m_window);
    }
    const Result<QImage> desktop = readDesktop();
    // The overlay may have been closed while the still was away (the main window's close).
    if (shown && m_window && m_overlay) {
        if (desktop) {
            m_picture = *desktop;
            static_cast<StillWindow*>(m_window.data())->setPicture(m_picture, m_view.source);
        }
        show();
    }
    if (!desktop)
        return fail(desktop.error());
    return partOf(*desktop, rect);
}

bool StillPicture::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_overlay && event->type() == QEvent::Close && m_window) {
        // The overlay goes with it (a closed overlay deletes itself anyway), and so does the picture.
        m_overlay = nullptr;
        m_window->hide();
        m_window->deleteLater();
        m_picture = QImage();
    }
    return false;
}

} // namespace quorvex
