#include "capture/selection_overlay.h"

#include "capture/overlay_shape.h"
#include "capture/overlay_window_system.h"
#include "capture/selection_frame.h"
#include "capture/window_drag_filters.h"
#include "capture/window_grab.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <cmath>

namespace quorvex {

namespace {

void setBackground(QWidget* widget, const QColor& colour)
{
    QPalette palette = widget->palette();
    palette.setColor(widget->backgroundRole(), colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

QFont closeButtonFont()
{
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPointSizeF(9.75);
    font.setBold(true);
    return font;
}

} // namespace

Form2::Form2(
    ScreenSource& screenSource, OverlayWindowSystem& windows, SelectionGrabReceiver& receiver, Twips twips)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    , m_screen(screenSource)
    , m_windows(windows)
    , m_receiver(receiver)
    , m_twips(twips)
    , m_layout(designedOverlayLayout(twips))
    , m_clientArea(new QWidget(this))
    , s1(new SelectionFrame(m_clientArea))
    , Label2(new QLabel(m_clientArea))
    , xButton(new QPushButton(QStringLiteral("x"), m_clientArea))
    , tmrMove(new QTimer(this))
    , Timer1(new QTimer(this))
{
    setObjectName(QStringLiteral("Form2"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    // The overlay never keeps the program running on its own.
    setAttribute(Qt::WA_QuitOnClose, false);
    setMinimumSize(pixelsCovering(kOverlayMinimumWidth, twips.perPixelX),
        pixelsCovering(kOverlayMinimumHeight, twips.perPixelY));
    if (const QScreen* display = screen())
        setMaximumSize(display->virtualSize().expandedTo(minimumSize()));

    m_clientArea->setObjectName(QStringLiteral("clientArea"));
    m_clientArea->setCursor(Qt::ArrowCursor);
    s1->setObjectName(QStringLiteral("s1"));
    Label2->setObjectName(QStringLiteral("Label2"));
    setBackground(Label2, palette().color(QPalette::Button));
    Label2->installEventFilter(new DragMover(this));
    xButton->setObjectName(QStringLiteral("xButton"));
    xButton->setFont(closeButtonFont());
    xButton->setCursor(Qt::PointingHandCursor);
    xButton->setFocusPolicy(Qt::NoFocus);
    // A square face: rounded, antialiased corners would blend with the red back into pink.
    xButton->setStyleSheet(QStringLiteral("QPushButton { background-color: palette(button);"
                                          " border: 1px solid palette(shadow); padding: 0; }"
                                          " QPushButton:pressed { background-color: palette(mid); }"));
    connect(xButton, &QPushButton::clicked, this, &QWidget::close);
    new FrameSizer(this, kOverlayFramePixels);

    tmrMove->setObjectName(QStringLiteral("tmrMove"));
    tmrMove->setInterval(OverlayTimers::kMoveIntervalMs);
    connect(tmrMove, &QTimer::timeout, this, &Form2::onMoveTimer);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(OverlayTimers::kResizeDelayMs);
    Timer1->setSingleShot(true);
    connect(Timer1, &QTimer::timeout, this, &Form2::onTimer1);

    const QSize window(
        m_twips.toPixelsX(m_layout.window.width()), m_twips.toPixelsY(m_layout.window.height()));
    resize(window);
    if (const QScreen* display = screen())
        centreOn(*display);
    applyLayout();
}

void Form2::centreOn(const QScreen& display)
{
    move(centredIn(display.geometry(), size()));
}

Form2::~Form2() = default;

void Form2::load()
{
    m_margins = marginsAtLoad(m_layout);
    setBackground(m_clientArea, QColor(kTransparencyKey));
    MakeTopmost();
    m_loaded = true;
    DarkMe();
    m_timers.loaded(positionTwips());
    tmrMove->start();
}

void Form2::DarkMe()
{
    m_shaped = m_windows.supportsShaping();
    applyShape();
}

void Form2::MakeTopmost()
{
    m_windows.makeTopmost(*this);
}

void Form2::GrabSelection()
{
    // A request while a grab is under way (a tick during its pass of the event loop) is covered by
    // that grab, which reads the window's place after the pass.
    if (m_grabbing || !m_loaded)
        return;
    m_grabbing = true;
    const QPointer<Form2> alive(this);

    setHatchAndBorder(false);
    // The shape without s1 must be in force (on a window manager's frame too) before windows below
    // repaint, and their repaint before the pixels are read.
    m_windows.waitForShape(*this);
    QCoreApplication::processEvents();
    if (!alive)
        return;
    if (!m_loaded) { // closed during the pass: nothing is grabbed on closing
        setHatchAndBorder(true);
        m_grabbing = false;
        return;
    }
    m_windows.waitForDisplay();

    // An empty rectangle (the frame wholly off the desktop) grabs nothing.
    const QRect rect = deviceGrabRect();
    const Result<QImage> picture = grabDesktopRect(m_screen, rect);
    // A source may run the event loop while it reads (a portal's answer, a still hidden meanwhile).
    if (!alive)
        return;
    if (!m_loaded || !picture || picture->isNull()) {
        setHatchAndBorder(true);
        m_grabbing = false;
        // A source that could not read (a portal that refused or did not answer) would only fail
        // again: the overlay closes, saying why, and the main window keeps its last grab.
        if (m_loaded && !picture) {
            close();
            m_receiver.selectionGrabFailed(QString::fromStdString(picture.error()));
        }
        return;
    }
    m_receiver.acceptSelectionGrab(
        *picture, selectionGrabGeometry(m_layout.s1.size(), rect.size(), m_receiver.pictureTwips()));
    if (!alive)
        return;
    setHatchAndBorder(true);
    m_grabbing = false;
}

int Form2::windowWidthTwips() const
{
    return m_twips.fromPixelsX(width());
}

int Form2::windowHeightTwips() const
{
    return m_twips.fromPixelsY(height());
}

void Form2::setWindowWidthTwips(double width)
{
    // No larger than the desktop from where the window stands: it keeps its place.
    const int room = std::min(maximumWidth(), desktopArea().right() + 1 - x());
    resize(overlayLengthPixels(width, kOverlayMinimumWidth, room, m_twips.perPixelX), height());
}

void Form2::setWindowHeightTwips(double height)
{
    const int room = std::min(maximumHeight(), desktopArea().bottom() + 1 - y());
    resize(width(), overlayLengthPixels(height, kOverlayMinimumHeight, room, m_twips.perPixelY));
}

QRect Form2::desktopArea() const
{
    // A window lies on the virtual desktop; on a still picture of it, the overlay lies on the still.
    if (!isWindow() && parentWidget())
        return parentWidget()->rect();
    const QScreen* display = screen();
    return display ? display->virtualGeometry() : QRect(QPoint(), maximumSize());
}

void Form2::setDefinedGrabSize(QSize devicePixels)
{
    m_definedGrab = {devicePixels, size()};
}

double Form2::deviceRatio() const
{
    return m_windows.deviceRatio(*this);
}

QRect Form2::deviceGrabRect() const
{
    const double ratio = deviceRatio();
    const QRect logical = selectionGrabRect(positionTwips(), m_layout.s1, m_twips);
    QRect rect
        = quorvex::deviceGrabRect(logical, geometry().topLeft(), m_windows.deviceTopLeft(*this), ratio);
    // Between whole logical pixels a defined size may fall on no frame size (100 pixels at 150 %):
    // the frame covers it to within a pixel and the grab keeps the size asked for.
    const QSize asked = m_definedGrab.devicePixels;
    if (m_definedGrab.windowSize == size() && std::abs(asked.width() - rect.width()) < ratio
        && std::abs(asked.height() - rect.height()) < ratio)
        rect.setSize(asked);
    // A frame pushed past the desktop's edge grabs only what lies on the desktop.
    const Result<QSize> desktop = m_screen.screenSize();
    return !desktop || desktop->isEmpty() ? rect : rect & QRect(QPoint(), *desktop);
}

bool Form2::hatchAndBorderVisible() const
{
    return s1->hatchAndBorder();
}

void Form2::resizeEvent(QResizeEvent*)
{
    m_clientArea->setGeometry(kOverlayFramePixels, kOverlayFramePixels, width() - 2 * kOverlayFramePixels,
        height() - 2 * kOverlayFramePixels);
    // During the load handling a resize only stops Timer1.
    if (m_loaded) {
        const QSize current(windowWidthTwips(), windowHeightTwips());
        const QSize snapped = snapToMinimum(current);
        if (snapped != current)
            resize(pixelsCovering(snapped.width(), m_twips.perPixelX),
                pixelsCovering(snapped.height(), m_twips.perPixelY));
        m_layout = followWindowSize(m_layout, m_margins, QSize(windowWidthTwips(), windowHeightTwips()));
        applyLayout();
    }
    m_timers.windowResized(m_loaded);
    restartTimer1();
    applyShape();
}

void Form2::closeEvent(QCloseEvent* event)
{
    m_loaded = false;
    m_timers.stop();
    tmrMove->stop();
    Timer1->stop();
    event->accept();
}

void Form2::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void Form2::paintEvent(QPaintEvent*)
{
    // Only our frame shows here; the client area covers the rest.
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Button));
    painter.setPen(palette().color(QPalette::Shadow));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void Form2::applyLayout()
{
    s1->setGeometry(twipsToPixels(m_layout.s1, m_twips));
    xButton->setGeometry(twipsToPixels(m_layout.xButton, m_twips));
    Label2->setGeometry(twipsToPixels(m_layout.label2, m_twips));
}

void Form2::applyShape()
{
    if (!m_shaped)
        return;
    m_windows.applyShape(*this,
        overlayShape(size(), m_clientArea->geometry(), {Label2->geometry(), xButton->geometry()},
            s1->geometry(), s1->look()));
}

void Form2::setHatchAndBorder(bool on)
{
    s1->setHatchAndBorder(on);
    applyShape();
}

void Form2::restartTimer1()
{
    Timer1->stop();
    if (m_timers.resizeTimerRunning())
        Timer1->start();
}

void Form2::onTimer1()
{
    if (m_timers.resizeTimerTicked())
        GrabSelection();
}

void Form2::onMoveTimer()
{
    if (m_timers.moveTimerTicked(positionTwips()))
        GrabSelection();
}

QPoint Form2::positionTwips() const
{
    // Our own frame is part of the window, so its outer corner is where Qt places the window.
    const QPoint corner = geometry().topLeft();
    return {
        int(std::lround(m_twips.fromPixelsX(corner.x()))), int(std::lround(m_twips.fromPixelsY(corner.y())))};
}

} // namespace quorvex
