#pragma once

#include "capture/screen_reader.h"

#include <memory>
#include <string>

// The one place that decides, from the session, how the screen is read.
namespace quorvex {

// What the session says about its display (so tests can set it).
struct SessionEnvironment {
    std::string display; // DISPLAY
    std::string waylandDisplay; // WAYLAND_DISPLAY
    std::string sessionType; // XDG_SESSION_TYPE

    static SessionEnvironment fromProcess();
};

// The reason the screen cannot be read at all in this session, one line; empty when it can.
std::string unreadableScreenReason(const SessionEnvironment& session);

// A reader of this session's screen on a connection of its own, as a program without a window
// reads it; or why there is none (`reader` null).
struct OpenedScreenReader {
    std::unique_ptr<ScreenReader> reader;
    std::string failure;
};
OpenedScreenReader openScreenReader(const SessionEnvironment& session);

} // namespace quorvex
