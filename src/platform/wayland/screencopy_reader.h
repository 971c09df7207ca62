#pragma once

#include "capture/screen_reader.h"
#include "common/result.h"

#include <memory>
#include <string>

namespace quorvex {

// Reads a wlroots desktop (sway, Hyprland, ...) through the screen-copy protocol
// (zwlr_screencopy_manager_v1) on a Wayland connection of its own, kept open for repeated grabs,
// each output's shared-memory buffer reused while its size stays. Every output is composed at its
// place in the compositor's layout into one picture (see desktop_layout.h).
class ScreencopyReader final : public ScreenReader {
public:
    // On the Wayland display `display` (WAYLAND_DISPLAY; empty: the default one); fails when the
    // display cannot be opened or offers no screen copy.
    static Result<std::unique_ptr<ScreencopyReader>> connect(const std::string& display);
    ~ScreencopyReader() override;

    // Whether the compositor draws the mouse pointer into the pictures (it does not by default).
    void setPointerDrawn(bool drawn);

    PixelSize desktopSize() const override;
    // Set once the compositor's numbers (a frame's buffer, the layout) are refused: the one line why.
    Status readable() const override;
    ScreenPixels readDesktop(const PixelRect& rect) override;
    // The picture readDesktop gives, handed on in bands; where it lies in the shared memory, each band
    // is copied out through the memory's file into a buffer reused for every band.
    bool readDesktopInBands(const PixelRect& rect, int bandRows, const BandSink& band) override;

private:
    ScreencopyReader();
    struct Private;
    std::unique_ptr<Private> d;
};

} // namespace quorvex
