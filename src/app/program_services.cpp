#include "app/program_services.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>

namespace quorvex {

ProgramServices::ProgramServices()
    : m_backend(chooseWindowBackend())
    , m_keeper(QCoreApplication::applicationDirPath() + QStringLiteral("/quorvex7"))
    , m_qtClipboard(*QGuiApplication::clipboard())
    , m_keptClipboard(m_keeper)
{
}

WindowServices ProgramServices::services()
{
    PictureClipboard& clipboard
        = m_backend.clipboardKeeper ? static_cast<PictureClipboard&>(m_keptClipboard) : m_qtClipboard;
    return {.screen = *m_backend.screen,
        .overlayScreen = *m_backend.overlayScreen,
        .overlayWindows = *m_backend.overlayWindows,
        .windows = m_backend.windows,
        .messages = m_messages,
        .urls = m_urls,
        .clock = m_clock,
        .saveDialog = m_saveDialog,
        .printer = m_printer,
        .clipboard = clipboard};
}

} // namespace quorvex
