#pragma once

#include "common/desktop_output.h"
#include "common/result.h"
#include "platform/desktop_offer.h"
#include "platform/wayland/desktop_layout.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

struct wl_display;
struct wl_interface;
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

// A connection to a Wayland display and what its registry holds: the globals, and the outputs with
// their place (xdg-output), scale, transform and name, kept as they come and go. Whatever talks to a
// Wayland compositor opens one and binds from it the further globals it uses.
class WaylandConnection {
public:
    // `display`: WAYLAND_DISPLAY; empty, the default one. After one round trip the globals are known.
    static Result<std::unique_ptr<WaylandConnection>> open(const std::string& display);
    ~WaylandConnection();

    wl_display* display() const { return m_display; }
    bool offers(const char* interface) const;
    // The first global of `interface` with at least version `least`, bound at `most` or its own
    // version if lower; null where there is none.
    template <typename T> T* bind(const wl_interface& interface, uint32_t most, uint32_t least = 1)
    {
        return static_cast<T*>(bindGlobal(interface, most, least));
    }

    // Binds the outputs and waits for their description and place: the second round trip. An output
    // added later is described as it comes.
    Status readOutputs();
    const std::vector<std::unique_ptr<WaylandOutput>>& outputs() const { return m_outputs; }
    // Hears of an output that went away, before it is forgotten.
    void setOutputGone(std::function<void(const WaylandOutput&)> handler)
    {
        m_outputGone = std::move(handler);
    }
    std::vector<OutputPlace> places() const;
    int largestScale() const;
    // Each output as --list-outputs shows it; or why the layout cannot be read.
    Result<std::vector<DesktopOutput>> described() const;

private:
    // The line said where a round trip fails.
    std::string wentAway() const;
    struct Global {
        uint32_t name;
        std::string interface;
        uint32_t version;
    };
    WaylandConnection() = default;
    void* bindGlobal(const wl_interface& interface, uint32_t most, uint32_t least);
    void addOutput(uint32_t name, uint32_t version);
    void askForPlace(WaylandOutput& output);
    static void global(void* data, wl_registry*, uint32_t name, const char* interface, uint32_t version);
    static void globalRemove(void* data, wl_registry*, uint32_t name);

    std::string m_name;
    wl_display* m_display = nullptr;
    wl_registry* m_registry = nullptr;
    std::vector<Global> m_globals;
    bool m_outputsBound = false;
    std::vector<std::unique_ptr<WaylandOutput>> m_outputs;
    zxdg_output_manager_v1* m_manager = nullptr;
    std::function<void(const WaylandOutput&)> m_outputGone;
};

// The outputs of the Wayland display `display` (WAYLAND_DISPLAY; empty: the default one), on a
// connection of its own; or why they cannot be had.
Result<std::vector<DesktopOutput>> listWaylandOutputs(const std::string& display);

// What the compositor on `display` offers, from one look at its globals on a connection of its own;
// or why it cannot be asked.
Result<WaylandGlobals> readWaylandGlobals(const std::string& display);

} // namespace quorvex
