#include "app/platform_services.h"

#include "common/dialog_window.h"

#include <QDesktopServices>
#include <QMessageBox>

namespace quorvex {

void DesktopUrlOpener::open(const QUrl& url)
{
    QDesktopServices::openUrl(url);
}

void DialogMessageBoxes::show(const Message& message)
{
    QMessageBox box(m_parent);
    box.setWindowFlags(kDialogWindowFlags);
    box.setWindowTitle(message.caption);
    box.setText(message.text);
    switch (message.icon) {
    case MessageIcon::None:
        break;
    case MessageIcon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case MessageIcon::Exclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    case MessageIcon::Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
}

} // namespace quorvex
