#include "platform/wayland/wayland_connection.h"

#include "common/this_process.h"
#include "xdg-output-unstable-v1-client-protocol.h"

#include <algorithm>
#include <cstdarg>
#include <cstring>
#include <wayland-client.h>

namespace quorvex {

namespace {

void geometry(void* data, wl_output*, int32_t x, int32_t y, int32_t, int32_t, int32_t, const char*,
    const char*, int32_t transform)
{
    auto* output = static_cast<WaylandOutput*>(data);
    if (!output->xdgOutput) { // wlroots says 0, 0 here: xdg-output has the real place
        output->x = x;
        output->y = y;
    }
    output->transform = transform;
}
void mode(void* data, wl_output*, uint32_t flags, int32_t width, int32_t height, int32_t)
{
    if (!(flags & WL_OUTPUT_MODE_CURRENT))
        return;
    auto* output = static_cast<WaylandOutput*>(data);
    output->width = width;
    output->height = height;
}
void done(void*, wl_output*)
{
}
void scale(void* data, wl_output*, int32_t factor)
{
    static_cast<WaylandOutput*>(data)->scale = std::max(1, factor);
}
void name(void* data, wl_output*, const char* text)
{
    static_cast<WaylandOutput*>(data)->name = text;
}
void description(void*, wl_output*, const char*)
{
}
constexpr wl_output_listener kOutputListener = {&geometry, &mode, &done, &scale, &name, &description};

void logicalPosition(void* data, zxdg_output_v1*, int32_t x, int32_t y)
{
    auto* output = static_cast<WaylandOutput*>(data);
    output->x = x;
    output->y = y;
}
void logicalSize(void* data, zxdg_output_v1*, int32_t width, int32_t height)
{
    auto* output = static_cast<WaylandOutput*>(data);
    output->logicalWidth = width;
    output->logicalHeight = height;
}
void xdgDone(void*, zxdg_output_v1*)
{
}
void xdgName(void* data, zxdg_output_v1*, const char* text)
{
    auto* output = static_cast<WaylandOutput*>(data);
    if (output->name.empty()) // wl_output's own name (version 4) first
        output->name = text;
}
void xdgDescription(void*, zxdg_output_v1*, const char*)
{
}
constexpr zxdg_output_v1_listener kXdgOutputListener
    = {&logicalPosition, &logicalSize, &xdgDone, &xdgName, &xdgDescription};

} // namespace

WaylandOutput::~WaylandOutput()
{
    if (xdgOutput)
        zxdg_output_v1_destroy(xdgOutput);
    if (output)
        wl_output_destroy(output);
}

OutputPlace WaylandOutput::place() const
{
    const bool turned = transform % 2 == 1; // 90 and 270 degrees, flipped or not
    const int w = turned ? height : width, h = turned ? width : height;
    if (logicalWidth > 0 && logicalHeight > 0)
        return {{x, y, logicalWidth, logicalHeight}, {w, h}};
    return {{x, y, w / scale, h / scale}, {w, h}};
}

WaylandConnection::~WaylandConnection()
{
    m_outputs.clear();
    if (m_manager)
        zxdg_output_manager_v1_destroy(m_manager);
    if (m_registry)
        wl_registry_destroy(m_registry);
    if (m_display)
        wl_display_disconnect(m_display);
}

Result<std::unique_ptr<WaylandConnection>> WaylandConnection::open(const std::string& display)
{
    // libwayland writes its own complaints to stderr; ours is the one line that says what failed.
    wl_log_set_handler_client([](const char*, va_list) {});
    std::unique_ptr<WaylandConnection> connection(new WaylandConnection);
    // Without a name libwayland opens wayland-0; a name that is no path lies in XDG_RUNTIME_DIR.
    connection->m_name = display.empty() ? "wayland-0" : display;
    connection->m_display = wl_display_connect(display.empty() ? nullptr : display.c_str());
    if (!connection->m_display) {
        std::string why;
        if (display.empty())
            why = "WAYLAND_DISPLAY is not set";
        const std::string runtime = environmentValue("XDG_RUNTIME_DIR");
        if (connection->m_name.front() != '/' && (runtime.empty() || runtime.front() != '/'))
            why += (why.empty() ? "" : "; ")
                + (runtime.empty() ? "XDG_RUNTIME_DIR is not set"
                                   : "XDG_RUNTIME_DIR '" + runtime + "' is no absolute path");
        return fail(
            "cannot open the Wayland display '" + connection->m_name + "'" + (why.empty() ? "" : ": " + why));
    }
    static constexpr wl_registry_listener kListener = {&global, &globalRemove};
    connection->m_registry = wl_display_get_registry(connection->m_display);
    wl_registry_add_listener(connection->m_registry, &kListener, connection.get());
    if (wl_display_roundtrip(connection->m_display) < 0)
        return fail(connection->wentAway());
    return connection;
}

std::string WaylandConnection::wentAway() const
{
    return "the Wayland display '" + m_name + "' went away";
}

void WaylandConnection::global(
    void* data, wl_registry*, uint32_t name, const char* interface, uint32_t version)
{
    auto* connection = static_cast<WaylandConnection*>(data);
    connection->m_globals.push_back({name, interface, version});
    if (connection->m_outputsBound && std::strcmp(interface, wl_output_interface.name) == 0)
        connection->addOutput(name, version);
}

void WaylandConnection::globalRemove(void* data, wl_registry*, uint32_t name)
{
    auto* connection = static_cast<WaylandConnection*>(data);
    std::erase_if(connection->m_globals, [name](const Global& global) { return global.name == name; });
    std::erase_if(connection->m_outputs, [&](const auto& output) {
        if (output->global == name && connection->m_outputGone)
            connection->m_outputGone(*output);
        return output->global == name;
    });
}

bool WaylandConnection::offers(const char* interface) const
{
    return std::any_of(m_globals.begin(), m_globals.end(),
        [&](const Global& global) { return global.interface == interface; });
}

void* WaylandConnection::bindGlobal(const wl_interface& interface, uint32_t most, uint32_t least)
{
    for (const Global& global : m_globals)
        if (global.interface == interface.name && global.version >= least)
            return wl_registry_bind(m_registry, global.name, &interface, std::min(global.version, most));
    return nullptr;
}

void WaylandConnection::addOutput(uint32_t name, uint32_t version)
{
    auto output = std::make_unique<WaylandOutput>();
    output->global = name;
    output->output = static_cast<wl_output*>(
        wl_registry_bind(m_registry, name, &wl_output_interface, std::min(version, 4u)));
    wl_output_add_listener(output->output, &kOutputListener, output.get());
    if (m_manager)
        askForPlace(*output);
    m_outputs.push_back(std::move(output));
}

void WaylandConnection::askForPlace(WaylandOutput& output)
{
    output.xdgOutput = zxdg_output_manager_v1_get_xdg_output(m_manager, output.output);
    zxdg_output_v1_add_listener(output.xdgOutput, &kXdgOutputListener, &output);
}

Status WaylandConnection::readOutputs()
{
    if (!m_outputsBound) {
        m_outputsBound = true;
        m_manager = bind<zxdg_output_manager_v1>(zxdg_output_manager_v1_interface, 2);
        const std::vector<Global> known = m_globals;
        for (const Global& global : known)
            if (global.interface == wl_output_interface.name)
                addOutput(global.name, global.version);
    }
    if (wl_display_roundtrip(m_display) < 0)
        return fail(wentAway());
    return {};
}

std::vector<OutputPlace> WaylandConnection::places() const
{
    std::vector<OutputPlace> result;
    for (const auto& output : m_outputs)
        result.push_back(output->place());
    return result;
}

int WaylandConnection::largestScale() const
{
    int scale = 1;
    for (const auto& output : m_outputs)
        scale = std::max(scale, output->scale);
    return scale;
}

Result<std::vector<DesktopOutput>> WaylandConnection::described() const
{
    const std::vector<OutputPlace> outputPlaces = places();
    const Result<DesktopPicture> layout = desktopPicture(outputPlaces);
    if (!layout)
        return fail(layout.error());
    std::vector<DesktopOutput> result;
    for (size_t i = 0; i < m_outputs.size(); ++i) {
        const OutputPlace& place = outputPlaces[i];
        const double scale = place.logical.width > 0 ? double(place.device.width) / place.logical.width : 1.0;
        const std::string name
            = m_outputs[i]->name.empty() ? "output-" + std::to_string(i + 1) : m_outputs[i]->name;
        result.push_back({name, place.logical, scale, placeInPicture(*layout, place)});
    }
    return result;
}

Result<std::vector<DesktopOutput>> listWaylandOutputs(const std::string& display)
{
    Result<std::unique_ptr<WaylandConnection>> connection = WaylandConnection::open(display);
    if (!connection)
        return fail(connection.error());
    const Status answered = (*connection)->readOutputs();
    Result<std::vector<DesktopOutput>> described = (*connection)->described();
    if (!answered)
        return fail(answered.error());
    if (described && described->empty())
        return fail("this Wayland desktop has no output");
    return described;
}

Result<WaylandGlobals> readWaylandGlobals(const std::string& display)
{
    const Result<std::unique_ptr<WaylandConnection>> connection = WaylandConnection::open(display);
    if (!connection)
        return fail(connection.error());
    const WaylandConnection& globals = **connection;
    return WaylandGlobals{globals.offers("zwlr_screencopy_manager_v1"), globals.offers("zwlr_layer_shell_v1"),
        globals.offers("zwlr_data_control_manager_v1")};
}

} // namespace quorvex
