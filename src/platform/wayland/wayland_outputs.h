#pragma once

#include "common/desktop_output.h"
#include "common/result.h"
#include "platform/wayland/desktop_layout.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct wl_display;
struct wl_output;
struct wl_registry;
struct zxdg_output_manager_v1;
struct zxdg_output_v1;

namespace quorvex {

// One output of a Wayland desktop as the compositor describes it.
struct WaylandOutput {
    wl_output* output = nullptr;
    zxdg_output_v1* xdgOutput = nullptr;
    uint32_t global = 0; // its name in the registry
    std::string name; // "HDMI-A-1"
    int x = 0, y = 0; // its place in the layout (logical)
    int logicalWidth = 0, logicalHeight = 0; // from xdg-output; 0 without it
    int width = 0, height = 0; // the current mode (device pixels)
    int scale = 1;
    int32_t transform = 0;

    ~WaylandOutput();
    // Where the compositor puts it and its own pixels, upright.
    OutputPlace place() const;
};

// The outputs of a connection, kept as the registry announces and removes them: give each global
// to take(), then, after a round trip, call askForPlaces() and make another round trip.
class WaylandOutputs {
public:
    ~WaylandOutputs();
    // Binds the global when it is an output or the xdg-output manager; false when it is neither.
    bool take(wl_registry* registry, uint32_t name, const char* interface, uint32_t version);
    void remove(uint32_t name);
    void askForPlaces();

    const std::vector<std::unique_ptr<WaylandOutput>>& all() const { return m_outputs; }
    std::vector<OutputPlace> places() const;
    // Each output as --list-outputs shows it; or why the layout cannot be read.
    Result<std::vector<DesktopOutput>> described() const;

private:
    std::vector<std::unique_ptr<WaylandOutput>> m_outputs;
    zxdg_output_manager_v1* m_manager = nullptr;
};

// The outputs of the Wayland display `display` (WAYLAND_DISPLAY; empty: the default one), on a
// connection of its own; or why they cannot be had.
Result<std::vector<DesktopOutput>> listWaylandOutputs(const std::string& display);

} // namespace quorvex
