#pragma once

#include <QColor>
#include <array>

class QAction;
class QMenuBar;
class QObject;

namespace quorvex {

// One QAction per command: its caption, its tip and whether it is enabled are set here once. The
// menu shows the action itself, so the action carries its menu entry's name (the command's own
// name where only the toolbar has it); a toolbar item triggers the same action
// (ClickableLabel::showAction).
struct CommandActions {
    explicit CommandActions(QObject* owner);

    struct Zoom {
        QAction* action;
        int percent;
        bool enlarge;
    };
    struct Background {
        QAction* action;
        QColor color;
    };

    QAction* const mnuSaveAs;
    QAction* const mnuPrintNormal;
    QAction* const mnuPrintToFit;
    QAction* const mnuClip;
    QAction* const mnuExit;
    QAction* const mnuDefinedSize;
    QAction* const mnuSelectArea;
    QAction* const mnuWholeScreen;
    QAction* const mnuActiveWindow;
    QAction* const mnuZoomNormal;
    const std::array<Zoom, 5> zooms;
    QAction* const mnuZoomCustom;
    QAction* const mnuFlipVertical;
    QAction* const mnuFlipHorizontal;
    QAction* const mnuRotate90;
    QAction* const mnuRotate180;
    QAction* const mnuRotate270;
    const std::array<Background, 3> backgrounds;
    QAction* const Clear;
    QAction* const About;
};

// The menu tree: File, Grab, Image (with Zoom, Mirror/Flip and Rotate) and Window.
void buildMenuBar(QMenuBar* bar, const CommandActions& actions);

} // namespace quorvex
