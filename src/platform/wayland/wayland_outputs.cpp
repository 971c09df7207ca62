#include "platform/wayland/wayland_outputs.h"

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

WaylandOutputs::~WaylandOutputs()
{
    m_outputs.clear();
    if (m_manager)
        zxdg_output_manager_v1_destroy(m_manager);
}

bool WaylandOutputs::take(wl_registry* registry, uint32_t name, const char* interface, uint32_t version)
{
    if (std::strcmp(interface, zxdg_output_manager_v1_interface.name) == 0) {
        m_manager = static_cast<zxdg_output_manager_v1*>(
            wl_registry_bind(registry, name, &zxdg_output_manager_v1_interface, std::min(version, 2u)));
        return true;
    }
    if (std::strcmp(interface, wl_output_interface.name) != 0)
        return false;
    auto output = std::make_unique<WaylandOutput>();
    output->global = name;
    output->output = static_cast<wl_output*>(
        wl_registry_bind(registry, name, &wl_output_interface, std::min(version, 4u)));
    wl_output_add_listener(output->output, &kOutputListener, output.get());
    m_outputs.push_back(std::move(output));
    return true;
}

void WaylandOutputs::remove(uint32_t name)
{
    std::erase_if(m_outputs, [name](const auto& output) { return output->global == name; });
}

void WaylandOutputs::askForPlaces()
{
    if (!m_manager)
        return;
    for (const auto& output : m_outputs)
        if (!output->xdgOutput) {
            output->xdgOutput = zxdg_output_manager_v1_get_xdg_output(m_manager, output->output);
            zxdg_output_v1_add_listener(output->xdgOutput, &kXdgOutputListener, output.get());
        }
}

std::vector<OutputPlace> WaylandOutputs::places() const
{
    std::vector<OutputPlace> result;
    for (const auto& output : m_outputs)
        result.push_back(output->place());
    return result;
}

Result<std::vector<DesktopOutput>> WaylandOutputs::described() const
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
    wl_log_set_handler_client([](const char*, va_list) {});
    std::unique_ptr<wl_display, void (*)(wl_display*)> connection(
        wl_display_connect(display.empty() ? nullptr : display.c_str()), &wl_display_disconnect);
    if (!connection)
        return fail("cannot open the Wayland display '" + display + "'");
    WaylandOutputs outputs;
    static constexpr wl_registry_listener kListener = {
        [](void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t version) {
            static_cast<WaylandOutputs*>(data)->take(registry, name, interface, version);
        },
        [](void* data, wl_registry*, uint32_t name) { static_cast<WaylandOutputs*>(data)->remove(name); }};
    wl_registry* registry = wl_display_get_registry(connection.get());
    wl_registry_add_listener(registry, &kListener, &outputs);
    if (wl_display_roundtrip(connection.get()) >= 0)
        outputs.askForPlaces();
    const bool answered = wl_display_roundtrip(connection.get()) >= 0;
    Result<std::vector<DesktopOutput>> described = outputs.described();
    wl_registry_destroy(registry);
    if (!answered)
        return fail("the Wayland display '" + display + "' went away");
    if (described && described->empty())
        return fail("this Wayland desktop has no output");
    return described;
}

} // namespace quorvex
