#include "app/main_window.h"

#include "app/about_box.h"
#include "app/artwork.h"
#include "app/picture_view.h"
#include "app/platform_services.h"
#include "app/toolbar.h"
#include "app/twips_layout.h"
#include "app/zoom.h"
#include "transform/effects.h"

#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QMenuBar>
#include <QScreen>
#include <QShortcut>

namespace quorvex {

namespace {

// Device pixels per logical pixel of the screen the window opens on; pictures count device pixels.
double primaryScreenRatio()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->devicePixelRatio() : 1.0;
}

} // namespace

Form1::Form1(const WindowServices& services, Twips twips, QWidget* parent)
    : QMainWindow(parent)
    , m_services(services)
    , m_twips(twips)
    , m_state(twips.perDevicePixel(primaryScreenRatio()))
    , m_gestures(m_state)
    , m_output(m_state, services.messages, services.saveDialog, services.printer, services.clipboard)
    , m_grabs(services, m_state, *this, twips)
    , m_actions(this)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(m_state.title());
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
    pic1 = new PictureView(m_state.view(), m_surface);
    connect(pic1, &PictureView::pressed, this, [this](QPointF pos) { m_gestures.viewPress(pos); });
    connect(pic1, &PictureView::moved, this, [this](QPointF pos) {
        if (m_gestures.viewMove(pos))
            pic1->sync();
        Frame2->showTip({});
    });
    connect(pic1, &PictureView::released, this, [this] { m_gestures.viewRelease(); });

    buildMenuBar(menuBar(), m_actions);
    Frame2->showActions(m_actions);
    connectActions();

    const QRect client = pixelRect(m_twips, 0, 0, 7560, 5280);
    resize(client.width(), client.height() + menuBar()->sizeHint().height());
    syncView();
}

Form1::~Form1() = default;

void Form1::connectActions()
{
    const CommandActions& a = m_actions;
    const auto on = [this](QAction* action, auto slot) { connect(action, &QAction::triggered, this, slot); };
    const auto andShow = [this](auto command) {
        return [this, command] {
            command();
            syncView();
        };
    };
    on(a.mnuSaveAs, [this] { m_output.SaveGrabbedImage(this); });
    on(a.mnuPrintNormal, [this] { m_output.printNormal(); });
    on(a.mnuPrintToFit, [this] { m_output.printToFit(); });
    on(a.mnuClip, [this] { m_output.saveToClipboard(); });
    // Ends the program like the Exit icon: that is what a File menu's Exit is for.
    on(a.mnuExit, &QWidget::close);
    on(a.mnuDefinedSize, [this] { m_grabs.showDefinedSizeDialog(*this); });
    on(a.mnuSelectArea, [this] { m_grabs.GrabSelectedArea(*this); });
    on(a.mnuWholeScreen, &Form1::GrabWholeScreen);
    on(a.mnuZoomNormal, andShow([this] { m_state.Reset(); }));
    for (const CommandActions::Zoom& z : a.zooms)
        on(z.action, [this, z] { showResize(m_state.ZoomByPercent(z.percent, z.enlarge)); });
    on(a.mnuFlipVertical, [this] { showTurn(m_state.mirror(MirrorKind::Vertical)); });
    on(a.mnuFlipHorizontal, [this] { showTurn(m_state.mirror(MirrorKind::Horizontal)); });
    // The turn by angle goes counter-clockwise on the screen: "90" (clockwise) passes 270.
    on(a.mnuRotate90, [this] { RotateByAngle(270); });
    on(a.mnuRotate180, [this] { showTurn(m_state.mirror(MirrorKind::HalfTurn)); });
    on(a.mnuRotate270, [this] { RotateByAngle(90); });
    for (const CommandActions::Background& b : a.backgrounds)
        on(b.action, [this, b] { setBackground(b.color); });
    on(a.Clear, andShow([this] { m_state.Clear(); }));
    on(a.About, [this] { Frame1->showBox(); });
    // The selection frame opens without taking the keyboard: Escape here closes it too.
    auto* closeOverlay = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(closeOverlay, &QShortcut::activated, this, [this] { m_grabs.overlay().unloadOverlay(); });
    // The desktop's URL handler needs no owner window on X11.
    connect(Frame1, &AboutBox::optionsPageAsked, this, [this] { m_services.urls.open(kOptionsPageUrl); });
}

void Form1::GrabWholeScreen()
{
    m_grabs.GrabWholeScreen(*this);
    syncView();
}

void Form1::acceptSelectionGrab(const QImage& picture, const SelectionGrabGeometry& g)
{
    // Restoring the window touches none of the boxes, so it may come before their steps.
    if (isMinimized() || isMaximized())
        showNormal();
    m_state.acceptSelectionGrab(picture, g);
    syncView();
}

void Form1::selectionGrabFailed(const QString& reason)
{
    m_grabs.showScreenFailure(reason);
}

void Form1::RotateByAngle(qint16 angle)
{
    // The view shows the turn as it is built up, column by column.
    showTurn(m_state.RotateByAngle(angle, [this] { pic1->repaint(); }));
}

void Form1::setBackground(const QColor& color)
{
    QPalette palette = m_surface->palette();
    palette.setColor(QPalette::Window, color);
    m_surface->setPalette(palette);
    if (Frame2)
        Frame2->followBackground(color);
}

QColor Form1::background() const
{
    return m_surface->palette().color(QPalette::Window);
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
    m_grabs.overlay().unloadOverlay();
    event->accept();
}

bool Form1::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_surface)
        return QMainWindow::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::Resize: {
        const int height = m_twips.toPixelsY(255);
        Picture2->setGeometry(0, m_surface->height() - height, m_surface->width(), height);
        break;
    }
    case QEvent::MouseButtonPress:
        m_gestures.surfacePress();
        return true;
    case QEvent::MouseMove: {
        const QPointF pos = static_cast<QMouseEvent*>(event)->position();
        surfaceMove({pos.x() * m_twips.perPixelX, pos.y() * m_twips.perPixelY});
        return true;
    }
    case QEvent::MouseButtonRelease:
        showResize(m_gestures.surfaceRelease());
        return true;
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

void Form1::surfaceMove(QPointF pos)
{
    const bool dragging = m_gestures.stretching();
    const StretchMode mode = m_gestures.surfaceMove(pos);
    if (dragging) {
        pic1->sync();
        return;
    }
    m_surface->setCursor(stretchCursor(mode));
    Frame2->showTip(stretchHint(mode));
}

void Form1::syncView()
{
    pic1->sync();
    if (windowTitle() != m_state.title())
        setWindowTitle(m_state.title());
}

void Form1::showResize(ResizeResult result)
{
    if (result == ResizeResult::Refused)
        m_services.messages.show({refusedResizeText(), MessageIcon::Information});
    syncView();
}

void Form1::showTurn(TurnResult result)
{
    if (result == TurnResult::Failed)
        m_services.messages.show({kRotateErrorText});
    syncView();
}

} // namespace quorvex
