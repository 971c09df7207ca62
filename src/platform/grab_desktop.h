#pragma once

#include "capture/screen_reader.h"
#include "common/area_selection.h"
#include "common/desktop_output.h"
#include "common/result.h"
#include "platform/screen_backend.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

// What the command line asks of the desktop beyond reading its screen: its monitors, its windows,
// the pointer and somewhere to show the selection. Chosen from the session, as the screen is.
namespace quorvex {

class GrabDesktop {
public:
    virtual ~GrabDesktop() = default;

    // The monitors, each where it lies on the desktop and in a grab of the whole desktop.
    virtual Result<std::vector<DesktopOutput>> outputs() = 0;
    // The focused window with its frame, in the desktop picture's pixels; or why this desktop does not say.
    virtual Result<PixelRect> focusedWindow() = 0;
    // Whether windowAt() can say which window lies where.
    virtual bool tellsWindows() const = 0;
    // The topmost window at `point` of the desktop picture, with its frame; none where none is.
    virtual std::optional<PixelRect> windowAt(PixelPoint point) = 0;
    // Shows the still `painter` draws over the whole desktop and lets the user choose an area.
    virtual Result<AreaChoice> select(const SelectionPainter& painter) = 0;
    // The desktop picture's pixels per logical pixel (what the selection's lines and text are sized by).
    virtual int pictureScale() = 0;
    // Whether the still for the selection is best read in bands (where each band comes through shared
    // memory) rather than as one picture (where the reader composes it in memory of its own anyway).
    virtual bool stillInBands() const = 0;
    // `reader`, made to give the pointer in what it reads; or why it cannot.
    virtual Result<std::unique_ptr<ScreenReader>> withPointer(std::unique_ptr<ScreenReader> reader) = 0;
};

// The desktop of `session`: X11 where the screen is read through X11, else the Wayland desktop.
Result<std::unique_ptr<GrabDesktop>> openGrabDesktop(const SessionEnvironment& session);

// The outputs of `session`'s desktop, for --list-outputs.
Result<std::vector<DesktopOutput>> listDesktopOutputs(const SessionEnvironment& session);

// A rectangle of the desktop's logical layout where it lies in a grab of the whole desktop, by the
// outputs' own places in both; nothing where there are no outputs.
std::optional<PixelRect> desktopToPicture(
    const std::vector<DesktopOutput>& outputs, const PixelRect& logical);

} // namespace quorvex
