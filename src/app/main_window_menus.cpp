#include "app/about_box.h"
#include "app/main_window.h"
#include "app/toolbar.h"
#include "app/twips_layout.h"

#include <QMenuBar>

// The menu tree and the toolbar's clicks: captions, names and which command each one runs.
namespace quorvex {

namespace {

QMenu* submenu(QWidget* parent, const char* name, const QString& caption)
{
    auto* menu = new QMenu(caption, parent);
    menu->setObjectName(QLatin1String(name));
    menu->menuAction()->setObjectName(QLatin1String(name));
    return menu;
}

QAction* entry(QMenu* menu, const char* name, const QString& caption)
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    return action;
}

} // namespace

void Form1::buildMenus()
{
    QMenuBar* bar = menuBar();

    QMenu* mnuFile = submenu(bar, "mnuFile", QStringLiteral("&File"));
    bar->addMenu(mnuFile);
    connect(entry(mnuFile, "mnuSaveAs", QStringLiteral("Save &As")), &QAction::triggered, this,
        &Form1::SaveGrabbedImage);
    QMenu* mnuPrint = submenu(mnuFile, "mnuPrint", QStringLiteral("&Print"));
    mnuFile->addMenu(mnuPrint);
    connect(entry(mnuPrint, "mnuPrintNormal", QStringLiteral("Print")), &QAction::triggered, this,
        &Form1::printNormal);
    connect(entry(mnuPrint, "mnuPrintToFit", QStringLiteral("Print (page size)")), &QAction::triggered, this,
        &Form1::printToFit);
    connect(entry(mnuFile, "mnuClip", QStringLiteral("Save to Clipboard")), &QAction::triggered, this,
        &Form1::saveToClipboard);
    // Ends the program like the Exit icon: that is what a File menu's Exit is for.
    connect(entry(mnuFile, "mnuExit", QStringLiteral("E&xit")), &QAction::triggered, this, &Form1::Exit);

    QMenu* mnuGrab = submenu(bar, "mnuGrab", QStringLiteral("&Grab"));
    bar->addMenu(mnuGrab);
    connect(entry(mnuGrab, "mnuDefinedSize", QStringLiteral("&Defined Size")), &QAction::triggered, this,
        &Form1::showDefinedSizeDialog);
    connect(entry(mnuGrab, "mnuSelectArea", QStringLiteral("&Select Area")), &QAction::triggered, this,
        &Form1::GrabSelectedArea);
    connect(entry(mnuGrab, "mnuWholeScreen", QStringLiteral("&Whole Screen")), &QAction::triggered, this,
        &Form1::GrabWholeScreen);
    entry(mnuGrab, "mnuActiveWindow", QStringLiteral("&Active Window"))->setEnabled(false);

    QMenu* mnuImage = submenu(bar, "mnuImage", QStringLiteral("&Image"));
    bar->addMenu(mnuImage);
    connect(
        entry(mnuImage, "mnuZoomNormal", QStringLiteral("Reset")), &QAction::triggered, this, &Form1::Reset);
    QMenu* mnuZoom = submenu(mnuImage, "mnuZoom", QStringLiteral("&Zoom"));
    mnuImage->addMenu(mnuZoom);
    const struct {
        const char* name;
        const char* caption;
        int percent;
        bool enlarge;
    } zooms[] = {{"mnuMinus50", "-50%", 50, false}, {"mnuMinus25", "-25%", 25, false},
        {"mnuZoom25", "25%", 25, true}, {"mnuZoom50", "50%", 50, true}, {"mnuZoom100", "100%", 100, true}};
    for (const auto& z : zooms) {
        connect(entry(mnuZoom, z.name, QLatin1String(z.caption)), &QAction::triggered, this,
            [this, percent = z.percent, enlarge = z.enlarge] { ZoomByPercent(percent, enlarge); });
    }
    entry(mnuZoom, "mnuZoomCustom", QStringLiteral("Custom"))->setEnabled(false);
    QMenu* mnuFlip = submenu(mnuImage, "mnuFlip", QStringLiteral("Mirror/Flip"));
    mnuImage->addMenu(mnuFlip);
    connect(entry(mnuFlip, "mnuFlipVertical", QStringLiteral("Vertical")), &QAction::triggered, this,
        [this] { mirror(MirrorKind::Vertical); });
    connect(entry(mnuFlip, "mnuFlipHorizontal", QStringLiteral("Horizontal")), &QAction::triggered, this,
        [this] { mirror(MirrorKind::Horizontal); });
    QMenu* mnuRotate = submenu(mnuImage, "mnuRotate", QStringLiteral("Rotate"));
    mnuImage->addMenu(mnuRotate);
    // The turn by angle goes counter-clockwise on the screen: "90" (clockwise) passes 270.
    connect(entry(mnuRotate, "mnuRotate90", QStringLiteral("90")), &QAction::triggered, this,
        [this] { RotateByAngle(270); });
    connect(entry(mnuRotate, "mnuRotate180", QStringLiteral("180")), &QAction::triggered, this,
        [this] { mirror(MirrorKind::HalfTurn); });
    connect(entry(mnuRotate, "mnuRotate270", QStringLiteral("270")), &QAction::triggered, this,
        [this] { RotateByAngle(90); });

    QMenu* mnuWindow = submenu(bar, "mnuWindow", QStringLiteral("Window"));
    bar->addMenu(mnuWindow);
    connect(entry(mnuWindow, "mnuBackWhite", QStringLiteral("White Background")), &QAction::triggered, this,
        [this] { setBackground(QColor(255, 255, 255)); });
    connect(entry(mnuWindow, "mnuBackLight", QStringLiteral("Light Background")), &QAction::triggered, this,
        [this] { setBackground(QColor(224, 224, 224)); });
    connect(entry(mnuWindow, "munBackDark", QStringLiteral("Dark Background")), &QAction::triggered, this,
        [this] { setBackground(QColor(128, 128, 128)); });
}

void Form1::connectToolbar()
{
    connect(Frame2->Image1, &ClickableLabel::clicked, this, &Form1::Exit);
    connect(Frame2->Image2, &ClickableLabel::clicked, this, &Form1::SaveGrabbedImage);
    connect(Frame2->Label16, &ClickableLabel::clicked, this, &Form1::GrabSelectedArea);
    connect(Frame2->Label17, &ClickableLabel::clicked, this, &Form1::GrabWholeScreen);
    connect(Frame2->Image4, &ClickableLabel::clicked, this, &Form1::Clear);
    connect(Frame2->Image7, &ClickableLabel::clicked, this, [this] { RotateByAngle(270); });
    connect(Frame2->Image6, &ClickableLabel::clicked, this, &Form1::About);
    connect(Frame1->Label18, &ClickableLabel::clicked, this, [this] { OpenOptionsPage(this); });
}

} // namespace quorvex
