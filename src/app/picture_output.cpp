#include "app/picture_output.h"

#include "app/picture_view_state.h"
#include "common/message_box.h"
#include "output/clipboard.h"
#include "output/printing.h"
#include "output/save_as.h"

namespace quorvex {

bool PictureOutput::hasPictureToOutput()
{
    if (m_state.view().hasPicture())
        return true;
    m_messages.show(
        {QStringLiteral("There is no picture yet: grab the screen first."), MessageIcon::Information});
    return false;
}

void PictureOutput::SaveGrabbedImage(QWidget* owner)
{
    if (!hasPictureToOutput())
        return;
    quorvex::SaveGrabbedImage(m_saveDialog, m_messages, owner,
        {[this] { return m_state.view().surface(); },
            [this](const QImage& image) { m_state.replaceViewPicture(image); }});
}

void PictureOutput::saveToClipboard()
{
    if (!hasPictureToOutput())
        return;
    if (const Status put = m_clipboard.put(m_state.view().picture()); !put)
        m_messages.show({QStringLiteral("The picture could not be put on the clipboard: %1.")
                             .arg(QString::fromStdString(put.error())),
            MessageIcon::Exclamation});
}

void PictureOutput::printNormal()
{
    if (!hasPictureToOutput())
        return;
    // At its own size is at the screen's resolution: a grab at 200 % prints as large as at 100 %.
    QImage picture = m_state.view().surface();
    const Twips& twips = m_state.twips();
    constexpr double kTwipsPerMetre = 1440 / 0.0254;
    picture.setDotsPerMeterX(roundHalfEven(kTwipsPerMetre / twips.perPixelX));
    picture.setDotsPerMeterY(roundHalfEven(kTwipsPerMetre / twips.perPixelY));
    mnuPrintNormalClick(m_printer, m_messages, picture);
}

void PictureOutput::printToFit()
{
    if (hasPictureToOutput())
        mnuPrintToFitClick(m_printer, m_messages, m_state.view().surface());
}

} // namespace quorvex
