#include "app/main_window.h"
#include "output/clipboard.h"
#include "output/printing.h"
#include "output/save_as.h"

// Save As, the clipboard and printing: each hands pic1's picture to the output library.
namespace quorvex {

bool Form1::hasPictureToOutput()
{
    if (m_state.pic1.hasPicture())
        return true;
    m_services.messages.show(
        {QStringLiteral("There is no picture yet: grab the screen first."), MessageIcon::Information});
    return false;
}

void Form1::SaveGrabbedImage()
{
    if (!hasPictureToOutput())
        return;
    PictureBox& view = m_state.pic1;
    quorvex::SaveGrabbedImage(m_services.saveDialog, m_services.messages, this,
        {[&view] { return view.surface(); }, [&view](const QImage& image) { view.setPicture(image); }});
}

void Form1::saveToClipboard()
{
    if (!hasPictureToOutput())
        return;
    if (!CopyPictureToClipboard(m_state.pic1.picture(), m_services.clipboard))
        m_services.messages.show(
            {QStringLiteral("The picture could not be put on the clipboard."), MessageIcon::Exclamation});
}

void Form1::printNormal()
{
    if (hasPictureToOutput())
        mnuPrintNormalClick(m_services.printer, m_services.messages, m_state.pic1.surface());
}

void Form1::printToFit()
{
    if (hasPictureToOutput())
        mnuPrintToFitClick(m_services.printer, m_services.messages, m_state.pic1.surface());
}

} // namespace quorvex
