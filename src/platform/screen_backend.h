#pragma once

#include "capture/screen_reader.h"

#include <memory>
#include <optional>
#include <string>

// The one place that decides, from the session, how the screen is read.
namespace quorvex {

// What the session says about its display (so tests can set it).
struct SessionEnvironment {
    std::string display; // DISPLAY
    std::string waylandDisplay; // WAYLAND_DISPLAY
    std::string sessionType; // XDG_SESSION_TYPE
    std::string forcedSource; // QUORVEX7_SCREEN or --screen: x11, screencopy or portal; empty: chosen

    static SessionEnvironment fromProcess();
};

// How the screen is read.
enum class ScreenSourceKind { X11, Screencopy, Portal };

// The way the session's screen is read: the forced one, else screen copy in a Wayland session (the
// portal where the compositor turns out to offer none), else X11; or the one-line reason none can
// be (`kind` empty).
struct ScreenSourceChoice {
    std::optional<ScreenSourceKind> kind;
    std::string failure;
    bool forced = false;
};
ScreenSourceChoice chooseScreenSource(const SessionEnvironment& session);

// A reader of this session's screen on a connection of its own, as a program without a window
// reads it; or why there is none (`reader` null). The portal's reader has its screenshot taken.
struct OpenedScreenReader {
    std::unique_ptr<ScreenReader> reader;
    std::string failure;
};
OpenedScreenReader openScreenReader(const SessionEnvironment& session);

} // namespace quorvex
