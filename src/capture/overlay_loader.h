#pragma once

#include "capture/screen_source.h"
#include "capture/selection_grab_receiver.h"
#include "common/numeric.h"

#include <QPointer>
#include <QScreen>

namespace quorvex {

class Form2;
class OverlayWindowSystem;

// Owns the one selection overlay's lifetime for the main window: loaded on first use, gone once it is
// closed ("x", or the main window's close). A closed overlay deletes itself; the next use loads a new
// one.
class OverlayLoader {
public:
    OverlayLoader(
        ScreenSource& screen, OverlayWindowSystem& windows, SelectionGrabReceiver& receiver, Twips twips);
    ~OverlayLoader();
    OverlayLoader(const OverlayLoader&) = delete;
    OverlayLoader& operator=(const OverlayLoader&) = delete;

    // The overlay, loaded now if it is not (its load handling shows it); a failure where the display
    // could not be readied for it.
    Result<Form2*> overlay();

    // OverlayLoaded.
    bool overlayLoaded() const;

    // Unload the overlay if it is loaded (the main window's close does this).
    void unloadOverlay();

    // The monitor a new overlay opens centred on (the main window's); the primary one without it.
    void setHomeScreen(QScreen* screen) { m_home = screen; }

private:
    ScreenSource& m_screen;
    OverlayWindowSystem& m_windows;
    SelectionGrabReceiver& m_receiver;
    const Twips m_twips;
    QPointer<Form2> m_overlay;
    QPointer<QScreen> m_home;
};

} // namespace quorvex
