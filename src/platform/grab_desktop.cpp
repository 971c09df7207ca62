#include "platform/grab_desktop.h"

#include "common/this_process.h"
#include "platform/pointer_drawing_reader.h"
#include "platform/wayland/screencopy_reader.h"
#include "platform/wayland/sway_windows.h"
#include "platform/wayland/wayland_connection.h"
#include "platform/wayland/wayland_selection.h"
#include "platform/x11/x11_desktop.h"
#include "platform/x11/x11_selection.h"

#include <cmath>

namespace quorvex {

namespace {

class X11GrabDesktop final : public GrabDesktop {
public:
    explicit X11GrabDesktop(std::unique_ptr<X11Desktop> desktop)
        : m_desktop(std::move(desktop))
    {
    }
    Result<std::vector<DesktopOutput>> outputs() override { return m_desktop->monitors(); }
    Result<PixelRect> focusedWindow() override { return m_desktop->activeWindow(); }
    bool tellsWindows() const override { return true; }
    std::optional<PixelRect> windowAt(PixelPoint point) override { return m_desktop->windowAt(point); }
    Result<AreaChoice> select(const SelectionPainter& painter) override
    {
        return selectAreaOnX11(*m_desktop, painter, true);
    }
    int pictureScale() override { return m_desktop->textScale(); } // as large as the desktop's text
    bool stillInBands() const override { return true; }
    Result<std::unique_ptr<ScreenReader>> withPointer(std::unique_ptr<ScreenReader> reader) override
    {
        Result<PointerImage> pointer = m_desktop->pointer();
        if (!pointer)
            return fail(pointer.error());
        return std::unique_ptr<ScreenReader>(
            std::make_unique<PointerDrawingReader>(std::move(reader), std::move(pointer).value()));
    }

private:
    std::unique_ptr<X11Desktop> m_desktop;
};

class WaylandGrabDesktop final : public GrabDesktop {
public:
    WaylandGrabDesktop(std::string display, std::string swaySocket)
        : m_display(std::move(display))
        , m_swaySocket(std::move(swaySocket))
    {
    }
    Result<std::vector<DesktopOutput>> outputs() override
    {
        if (!m_outputs)
            m_outputs = listWaylandOutputs(m_display);
        return *m_outputs;
    }
    Result<PixelRect> focusedWindow() override
    {
        if (m_swaySocket.empty())
            return fail("this desktop does not tell other programs which window has the focus: choose it "
                        "with --select");
        const Result<SwayWindows> windows = askSwayWindows(m_swaySocket);
        if (!windows)
            return fail(windows.error());
        if (!windows->focused)
            return fail("no window has the focus");
        return inPicture(*windows->focused);
    }
    bool tellsWindows() const override { return !m_swaySocket.empty(); }
    std::optional<PixelRect> windowAt(PixelPoint point) override
    {
        const Result<SwayWindows> windows = askSwayWindows(m_swaySocket);
        if (!windows)
            return std::nullopt;
        for (const PixelRect& window : windows->shown) {
            const Result<PixelRect> place = inPicture(window);
            if (place && place->contains({point.x, point.y, 1, 1}))
                return *place;
        }
        return std::nullopt;
    }
    Result<AreaChoice> select(const SelectionPainter& painter) override
    {
        return selectAreaOnWayland(m_display, painter, tellsWindows());
    }
    bool stillInBands() const override { return false; }
    int pictureScale() override
    {
        const Result<std::vector<DesktopOutput>> all = outputs();
        int scale = 1;
        if (all)
            for (const DesktopOutput& output : *all)
                if (output.desktop.width > 0)
                    scale = std::max(scale, output.picture.width / output.desktop.width);
        return scale;
    }
    Result<std::unique_ptr<ScreenReader>> withPointer(std::unique_ptr<ScreenReader> reader) override
    {
        auto* screencopy = dynamic_cast<ScreencopyReader*>(reader.get());
        if (!screencopy && environmentValue("XDG_CURRENT_DESKTOP").find("KDE") != std::string::npos)
            return reader; // KDE's portal draws the pointer into every picture
        if (!screencopy)
            return fail(
                "the desktop portal leaves the pointer out of its pictures here (GNOME's always does)");
        screencopy->setPointerDrawn(true);
        return reader;
    }

private:
    Result<PixelRect> inPicture(const PixelRect& logical)
    {
        const Result<std::vector<DesktopOutput>> all = outputs();
        if (!all)
            return fail(all.error());
        const std::optional<PixelRect> place = desktopToPicture(*all, logical);
        if (!place || place->isEmpty())
            return fail("the window lies off the desktop");
        return *place;
    }

    std::string m_display;
    std::string m_swaySocket;
    std::optional<Result<std::vector<DesktopOutput>>> m_outputs;
};

// X11 where the screen is read through X11: forced, or outside a Wayland session.
bool readsX11(const SessionEnvironment& session)
{
    const std::optional<ScreenSourceKind> forced = screenSourceNamed(session.forcedSource);
    return forced ? *forced == ScreenSourceKind::X11 : !session.isWayland();
}

} // namespace

Result<std::unique_ptr<GrabDesktop>> openGrabDesktop(const SessionEnvironment& session)
{
    if (readsX11(session)) {
        Result<std::unique_ptr<X11Desktop>> desktop = X11Desktop::connect(session.display);
        if (!desktop)
            return fail(desktop.error());
        return std::unique_ptr<GrabDesktop>(std::make_unique<X11GrabDesktop>(std::move(desktop).value()));
    }
    if (!session.isWayland())
        return fail("there is no Wayland display (WAYLAND_DISPLAY) to show the selection on");
    std::string swaySocket = environmentValue("SWAYSOCK");
    return std::unique_ptr<GrabDesktop>(
        std::make_unique<WaylandGrabDesktop>(session.waylandDisplay, swaySocket));
}

Result<std::vector<DesktopOutput>> listDesktopOutputs(const SessionEnvironment& session)
{
    Result<std::unique_ptr<GrabDesktop>> desktop = openGrabDesktop(session);
    if (!desktop)
        return fail(desktop.error());
    return (*desktop)->outputs();
}

std::optional<PixelRect> desktopToPicture(const std::vector<DesktopOutput>& outputs, const PixelRect& logical)
{
    if (outputs.empty())
        return std::nullopt;
    // One scale and one origin for the whole picture: any output tells both.
    const DesktopOutput& first = outputs.front();
    if (first.desktop.width < 1 || first.desktop.height < 1)
        return std::nullopt;
    const double scaleX = double(first.picture.width) / first.desktop.width;
    const double scaleY = double(first.picture.height) / first.desktop.height;
    const auto x
        = [&](int value) { return int(std::lround(first.picture.x + (value - first.desktop.x) * scaleX)); };
    const auto y
        = [&](int value) { return int(std::lround(first.picture.y + (value - first.desktop.y) * scaleY)); };
    const int left = x(logical.x), top = y(logical.y);
    PixelRect whole{0, 0, 0, 0};
    for (const DesktopOutput& output : outputs) {
        whole.width = std::max(whole.width, output.picture.x + output.picture.width);
        whole.height = std::max(whole.height, output.picture.y + output.picture.height);
    }
    return PixelRect{left, top, x(logical.x + logical.width) - left, y(logical.y + logical.height) - top}
        .intersected(whole);
}

} // namespace quorvex
