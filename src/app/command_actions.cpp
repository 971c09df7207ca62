#include "app/command_actions.h"

#include <QAction>
#include <QMenuBar>

namespace quorvex {

namespace {

QAction* command(QObject* owner, const char* name, const QString& caption, const QString& tip = {})
{
    auto* action = new QAction(caption, owner);
    action->setObjectName(QLatin1String(name));
    if (!tip.isEmpty())
        action->setToolTip(tip);
    return action;
}

QAction* disabled(QAction* action)
{
    action->setEnabled(false);
    return action;
}

QMenu* submenu(
    QWidget* parent, const char* name, const QString& caption, std::initializer_list<QAction*> entries)
{
    auto* menu = new QMenu(caption, parent);
    menu->setObjectName(QLatin1String(name));
    menu->menuAction()->setObjectName(QLatin1String(name));
    menu->addActions(QList<QAction*>(entries));
    return menu;
}

} // namespace

CommandActions::CommandActions(QObject* owner)
    : mnuSaveAs(
        command(owner, "mnuSaveAs", QStringLiteral("Save &As"), QStringLiteral("Save the grabbed image")))
    , mnuPrintNormal(command(owner, "mnuPrintNormal", QStringLiteral("Print")))
    , mnuPrintToFit(command(owner, "mnuPrintToFit", QStringLiteral("Print (page size)")))
    , mnuClip(command(owner, "mnuClip", QStringLiteral("Save to Clipboard")))
    , mnuExit(command(owner, "mnuExit", QStringLiteral("E&xit"), QStringLiteral("Exit/Close Quorvex")))
    , mnuDefinedSize(command(owner, "mnuDefinedSize", QStringLiteral("&Defined Size")))
    , mnuSelectArea(command(
          owner, "mnuSelectArea", QStringLiteral("&Select Area"), QStringLiteral("Grab a selected area")))
    , mnuWholeScreen(command(owner, "mnuWholeScreen", QStringLiteral("&Whole Screen"),
          QStringLiteral("Grab the whole screen/display")))
    , mnuActiveWindow(disabled(command(owner, "mnuActiveWindow", QStringLiteral("&Active Window"))))
    , mnuZoomNormal(command(owner, "mnuZoomNormal", QStringLiteral("Reset")))
    , zooms{{{command(owner, "mnuMinus50", QStringLiteral("-50%")), 50, false},
          {command(owner, "mnuMinus25", QStringLiteral("-25%")), 25, false},
          {command(owner, "mnuZoom25", QStringLiteral("25%")), 25, true},
          {command(owner, "mnuZoom50", QStringLiteral("50%")), 50, true},
          {command(owner, "mnuZoom100", QStringLiteral("100%")), 100, true}}}
    , mnuZoomCustom(disabled(command(owner, "mnuZoomCustom", QStringLiteral("Custom"))))
    , mnuFlipVertical(command(owner, "mnuFlipVertical", QStringLiteral("Vertical")))
    , mnuFlipHorizontal(command(owner, "mnuFlipHorizontal", QStringLiteral("Horizontal")))
    , mnuRotate90(command(owner, "mnuRotate90", QStringLiteral("90")))
    , mnuRotate180(command(owner, "mnuRotate180", QStringLiteral("180")))
    , mnuRotate270(command(owner, "mnuRotate270", QStringLiteral("270")))
    , backgrounds{{{command(owner, "mnuBackWhite", QStringLiteral("White Background")),
                       QColor(255, 255, 255)},
          {command(owner, "mnuBackLight", QStringLiteral("Light Background")), QColor(224, 224, 224)},
          {command(owner, "munBackDark", QStringLiteral("Dark Background")), QColor(128, 128, 128)}}}
    , Clear(command(owner, "Clear", {}, QStringLiteral("Clear the picture window")))
    , About(command(owner, "About", {}, QStringLiteral("About")))
{
}

void buildMenuBar(QMenuBar* bar, const CommandActions& a)
{
    QMenu* mnuPrint = submenu(bar, "mnuPrint", QStringLiteral("&Print"), {a.mnuPrintNormal, a.mnuPrintToFit});
    QMenu* mnuFile = submenu(bar, "mnuFile", QStringLiteral("&File"), {a.mnuSaveAs});
    mnuFile->addMenu(mnuPrint);
    mnuFile->addActions({a.mnuClip, a.mnuExit});
    bar->addMenu(mnuFile);
    bar->addMenu(submenu(bar, "mnuGrab", QStringLiteral("&Grab"),
        {a.mnuDefinedSize, a.mnuSelectArea, a.mnuWholeScreen, a.mnuActiveWindow}));

    QMenu* mnuZoom = submenu(bar, "mnuZoom", QStringLiteral("&Zoom"), {});
    for (const CommandActions::Zoom& zoom : a.zooms)
        mnuZoom->addAction(zoom.action);
    mnuZoom->addAction(a.mnuZoomCustom);
    QMenu* mnuImage = submenu(bar, "mnuImage", QStringLiteral("&Image"), {a.mnuZoomNormal});
    mnuImage->addMenu(mnuZoom);
    mnuImage->addMenu(
        submenu(bar, "mnuFlip", QStringLiteral("Mirror/Flip"), {a.mnuFlipVertical, a.mnuFlipHorizontal}));
    mnuImage->addMenu(
        submenu(bar, "mnuRotate", QStringLiteral("Rotate"), {a.mnuRotate90, a.mnuRotate180, a.mnuRotate270}));
    bar->addMenu(mnuImage);

    QMenu* mnuWindow = submenu(bar, "mnuWindow", QStringLiteral("Window"), {});
    for (const CommandActions::Background& background : a.backgrounds)
        mnuWindow->addAction(background.action);
    bar->addMenu(mnuWindow);
}

} // namespace quorvex
