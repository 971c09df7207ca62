#include "app/main_window.h"

#include "app/about_box.h"
#include "app/artwork.h"
#include "app/grab_wait.h"
#include "app/picture_view.h"
#include "app/platform_services.h"
#include "app/title_format.h"
#include "app/toolbar.h"
#include "app/twips_layout.h"
#include "app/zoom.h"
#include "capture/capture_commands.h"
#include "capture/defined_size_dialog.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QMenuBar>
#include <QMouseEvent>
#include <QWindow>

namespace quorvex {

Form1::Form1(Form1Services services, Twips twips, QWidget* parent)
    : QMainWindow(parent)
    , m_services(services)
    , m_twips(twips)
    , m_state(twips)
    , m_overlay(services.overlayScreen, *this, twips)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(m_state.title);
    setWindowIcon(artwork::programIcon());

    // The client area below the menu bar, as the old window's client area was.
    m_surface = new QWidget(this);
    m_surface->setObjectName(QStringLiteral("Form1Surface"));
    m_surface->setAutoFillBackground(true);
    m_surface->installEventFilter(this);
    m_surface->setMouseTracking(true);
    setCentralWidget(m_surface);
    setBackground(Qt::white);

    // Controls in creation order, so later ones lie above earlier ones.
    Picture2 = new QFrame(m_surface);
    Picture2->setObjectName(QStringLiteral("Picture2"));
    Picture2->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Picture2->setAutoFillBackground(true);
    Frame2 = new Toolbar(m_twips, m_surface);
    Frame1 = new AboutBox(m_twips, m_surface);
    // A click on a control is the control's own; only presses on the bare surface start a stretch.
    for (QWidget* control : std::initializer_list<QWidget*>{Picture2, Frame2, Frame1})
        control->setAttribute(Qt::WA_NoMousePropagation);
    pic1 = new PictureView(m_state.pic1, m_surface);
    pic1->onPress = [this](QPointF pos) {
        DragStartX = roundHalfEven(pos.x());
        DragStartY = roundHalfEven(pos.y());
        DragActive = true;
    };
    pic1->onMove = [this](QPointF pos) {
        if (DragActive) {
            // The point grabbed stays under the pointer: no threshold, no bound.
            m_state.pic1.setLeft(static_cast<float>(m_state.pic1.left() + pos.x() - DragStartX));
            m_state.pic1.setTop(static_cast<float>(m_state.pic1.top() + pos.y() - DragStartY));
            pic1->sync();
        }
        Frame2->frmTips->hide();
    };
    pic1->onRelease = [this] { DragActive = false; };

    buildMenus();
    connectToolbar();

    const QRect client = pixelRect(m_twips, 0, 0, 7560, 5280);
    resize(client.width(), client.height() + menuBar()->sizeHint().height());
    syncView();
}

Form1::~Form1() = default;

QImage Form1::CaptureScreen()
{
    const QSize screen = m_services.screen.screenSize();
    const QSizeF screenTwips(m_twips.fromPixelsX(screen.width()), m_twips.fromPixelsY(screen.height()));
    QImage picture = captureWholeScreen(m_services.screen, screenTwips, m_twips);
    PictureBox& view = m_state.pic1;
    view.setWidth(screenTwips.width());
    view.setHeight(screenTwips.height());
    m_state.GrabWidth = roundHalfEven(screenTwips.width());
    m_state.GrabHeight = roundHalfEven(screenTwips.height());
    view.setTop(600);
    view.setLeft(240);
    view.setVisible(true);
    return picture;
}

QImage Form1::CaptureForm(QWidget* frmSrc)
{
    return frmSrc ? captureForm(m_services.screen, *frmSrc) : QImage();
}

QImage Form1::CaptureClient(QWidget* frmSrc)
{
    return frmSrc ? captureClient(m_services.screen, *frmSrc) : QImage();
}

QImage Form1::CaptureActiveWindow()
{
    return captureActiveWindow(m_services.screen);
}

bool Form1::screenUnreadable()
{
    const QString reason = m_services.screen.unreadableReason();
    if (reason.isEmpty())
        return false;
    m_services.messages.show(
        {reason.left(1).toUpper() + reason.mid(1) + QLatin1Char('.'), MessageIcon::Exclamation});
    return true;
}

void Form1::GrabWholeScreen()
{
    if (screenUnreadable())
        return;
    setWindowState((windowState() & ~Qt::WindowMaximized) | Qt::WindowMinimized);
    waitWithEvents(wholeSecondWait(m_services.clock.secondsSinceMidnight()));
    // Without a window manager nothing minimises the window: take it off the screen instead, so
    // it is not part of its own grab.
    const bool stillShown = windowHandle() && windowHandle()->isExposed();
    if (stillShown) {
        hide();
        QCoreApplication::processEvents();
    }
    m_state.pic1.setPicture(CaptureScreen());
    m_state.keepGrab();
    showNormal();
    QCoreApplication::processEvents();
    syncView();
}

void Form1::GrabSelectedArea()
{
    if (screenUnreadable())
        return;
    m_overlay.showOverlay();
}

void Form1::showDefinedSizeDialog()
{
    if (screenUnreadable())
        return;
    // Modal and without an owner: centred on the screen like the overlay it sizes.
    Form3 dialog([this] { return m_overlay.overlay(); }, m_twips);
    dialog.exec();
}

void Form1::acceptSelectionGrab(const QImage& picture, const SelectionGrabGeometry& g)
{
    PictureBox& view = m_state.pic1;
    view.setBorder(false); // gone for the rest of the run
    view.setPicture(picture);
    if (isMinimized() || isMaximized())
        showNormal();
    view.setTop(600);
    view.setLeft(240);
    view.setWidth(g.pictureWidth);
    view.setHeight(g.pictureHeight);
    m_state.title = titleInSinglePrecision(g.titleWidth, g.titleHeight);
    view.setVisible(true);
    m_state.GrabWidth = g.grabWidth;
    m_state.GrabHeight = g.grabHeight;
    m_state.keepGrab();
    syncView();
}

void Form1::ZoomByPercent(int percent, bool enlarge)
{
    if (m_state.ZoomByPercent(percent, enlarge) == ResizeResult::Refused)
        showRefusedResize();
    syncView();
}

void Form1::Reset()
{
    m_state.Reset();
    syncView();
}

void Form1::Clear()
{
    m_state.Clear();
    syncView();
}

void Form1::About()
{
    Frame1->resize(pixelRect(m_twips, 0, 0, 6975, 2235).size());
    Frame1->show();
    Frame1->raise();
}

void Form1::setBackground(const QColor& color)
{
    QPalette palette = m_surface->palette();
    palette.setColor(QPalette::Window, color);
    m_surface->setPalette(palette);
}

QColor Form1::background() const
{
    return m_surface->palette().color(QPalette::Window);
}

void Form1::OpenOptionsPage(QWidget*)
{
    // The desktop's URL handler needs no owner window on X11.
    m_services.urls.open(kOptionsPageUrl);
}

void Form1::Exit()
{
    close();
}

void Form1::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    if (isMinimized())
        return;
    const int outerWidthTwips = m_twips.fromPixelsX(frameGeometry().width());
    QRect toolbar = Frame2->geometry();
    toolbar.setWidth(m_twips.toPixelsX(outerWidthTwips - 140));
    Frame2->setGeometry(toolbar);
}

void Form1::closeEvent(QCloseEvent* event)
{
    // Closing is never refused; the overlay goes with the main window.
    m_overlay.unloadOverlay();
    event->accept();
}

bool Form1::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_surface)
        return QMainWindow::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::Resize:
        layoutStatusStrip();
        break;
    case QEvent::MouseButtonPress:
        surfacePress();
        return true;
    case QEvent::MouseMove: {
        const QPointF pos = static_cast<QMouseEvent*>(event)->position();
        surfaceMove({pos.x() * m_twips.perPixelX, pos.y() * m_twips.perPixelY});
        return true;
    }
    case QEvent::MouseButtonRelease:
        surfaceRelease();
        return true;
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

void Form1::layoutStatusStrip()
{
    const int height = m_twips.toPixelsY(255);
    Picture2->setGeometry(0, m_surface->height() - height, m_surface->width(), height);
}

void Form1::syncView()
{
    pic1->sync();
    if (windowTitle() != m_state.title)
        setWindowTitle(m_state.title);
}

void Form1::showRefusedResize()
{
    m_services.messages.show(
        {QStringLiteral("The picture was left as it was: it cannot be smaller than 1 pixel "
                        "or larger than %1 pixels a side (%2 pixels in all).")
                .arg(kMaxPictureSide)
                .arg(kMaxPicturePixels),
            MessageIcon::Information});
}

} // namespace quorvex
