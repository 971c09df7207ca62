#pragma once

#include "capture/screen_reader.h"
#include "cli/command_line.h"
#include "platform/screen_backend.h"

#include <memory>
#include <optional>
#include <string>

namespace quorvex {

// What a grab reads and which part of it, as the command line chose: the whole desktop, --region,
// the focused window, one monitor or an area the user selects (then read from the still the
// selection showed), with the pointer drawn in where asked. `reader` is of `source`: KWin's screenshot
// has taken the focused window alone for --window, and the pointer for --pointer.
struct GrabAreaChoice {
    std::unique_ptr<ScreenReader> reader;
    PixelRect region;
    bool cancelled = false; // the user cancelled the selection
};
Result<GrabAreaChoice> chooseGrabArea(const CommandLine& command, const SessionEnvironment& session,
    std::unique_ptr<ScreenReader> reader, std::optional<ScreenSourceKind> source);

// A reader of `still`, a picture already taken, as if it were the whole desktop.
std::unique_ptr<ScreenReader> stillReader(ScreenPixels still);

// The outputs of the session's desktop as --list-outputs prints them, a line each:
// "NAME WxH+X+Y scale S pixels WxH+X+Y" (the second place in a grab of the whole desktop).
Result<std::string> listOutputs(const SessionEnvironment& session);

} // namespace quorvex
