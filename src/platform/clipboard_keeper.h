#pragma once

#include "common/result.h"

#include <string>
#include <vector>

// Keeping something on the desktop's clipboard after the program that put it there has ended, as
// xclip and wl-copy do: a process of its own serves it until another program takes the clipboard.
// Plain C++: the command line uses it as well as the window program.
namespace quorvex {

// One form of what the clipboard holds: its MIME type ("image/png") and its encoded bytes.
struct ClipboardOffer {
    std::string mimeType;
    std::string bytes;
};

enum class ClipboardDisplay { X11, Wayland };

// The clipboard of this session: Wayland's where WAYLAND_DISPLAY is set, else X11's where DISPLAY is.
Result<ClipboardDisplay> sessionClipboardDisplay();

// Puts `offers` on the clipboard of `display` and serves them from a process of its own, detached
// from the caller (a session of its own, no terminal, standard streams on /dev/null, not a child the
// caller waits for), until another program takes the clipboard. On X11 a running clipboard manager
// (CLIPBOARD_MANAGER) is asked to save them (SAVE_TARGETS); once it has, the manager serves them and
// the process ends. On Wayland it goes through data control (zwlr_data_control_manager_v1) where the
// compositor offers it, else (GNOME) as X11's selection where DISPLAY is set (the compositor hands it
// to Wayland clients), else through a window that has the keyboard's focus for a moment.
// Returns once that process holds the clipboard, or why it could not. It forks: call it from a
// process with one thread; a program with more starts `quorvex7 --keep-clipboard` instead.
Status keepClipboard(const std::vector<ClipboardOffer>& offers, ClipboardDisplay display);

// quorvex7's internal mode over keepClipboard():
//   quorvex7 --keep-clipboard x11|wayland TYPE LENGTH [TYPE LENGTH]...
// with the offers' bytes on standard input, one after the other. Exits 0 once they are kept; a
// failure is one line on stderr and exit status 1 (2 for a wrong command line).
inline constexpr const char* kKeepClipboardOption = "--keep-clipboard";
int keepClipboardMain(int argc, char** argv);

} // namespace quorvex
