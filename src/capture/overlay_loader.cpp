#include "capture/overlay_loader.h"

#include "capture/overlay_window_system.h"
#include "capture/selection_overlay.h"

namespace quorvex {

OverlayLoader::OverlayLoader(
    ScreenSource& screen, OverlayWindowSystem& windows, SelectionGrabReceiver& receiver, Twips twips)
    : m_screen(screen)
    , m_windows(windows)
    , m_receiver(receiver)
    , m_twips(twips)
{
}

OverlayLoader::~OverlayLoader()
{
    unloadOverlay();
    // Closed but not yet deleted (its deferred delete still queued): it must not outlive the receiver.
    delete m_overlay.data();
}

Result<Form2*> OverlayLoader::overlay()
{
    if (!overlayLoaded()) {
        if (const Status prepared = m_windows.prepareOverlay(m_home); !prepared)
            return fail(prepared.error());
        auto* overlay = new Form2(m_screen, m_windows, m_receiver, m_twips);
        overlay->setAttribute(Qt::WA_DeleteOnClose);
        if (m_home)
            overlay->centreOn(*m_home);
        m_overlay = overlay;
        overlay->load();
    }
    return m_overlay.data();
}

bool OverlayLoader::overlayLoaded() const
{
    return m_overlay && m_overlay->overlayLoaded();
}

void OverlayLoader::unloadOverlay()
{
    if (overlayLoaded())
        m_overlay->close();
}

} // namespace quorvex
