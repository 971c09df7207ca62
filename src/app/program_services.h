#pragma once

#include "app/grab_wait.h"
#include "app/platform_services.h"
#include "app/window_services.h"
#include "output/clipboard.h"
#include "output/qt_printer.h"
#include "output/qt_save_file_dialog.h"
#include "platform/window_backend.h"

namespace quorvex {

// The program's own services, built once from the desktop it runs on (after the application
// object); the main window reaches them through services().
class ProgramServices {
public:
    ProgramServices();

    WindowServices services();
    // Message boxes open over `window`.
    void setMainWindow(QWidget* window) { m_messages.setParent(window); }
    // quorvex7 beside this program: it keeps the clipboard's picture (clipboard.h).
    const QString& keeper() const { return m_keeper; }

private:
    WindowBackend m_backend;
    DialogMessageBoxes m_messages;
    DesktopUrlOpener m_urls;
    SystemWallClock m_clock;
    QtSaveFileDialog m_saveDialog;
    QtPrinter m_printer;
    QString m_keeper;
    QtPictureClipboard m_qtClipboard;
    KeptPictureClipboard m_keptClipboard;
};

} // namespace quorvex
