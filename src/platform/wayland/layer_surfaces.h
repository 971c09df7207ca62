#pragma once

#include "common/result.h"

#include <QImage>
#include <QPointF>
#include <QRect>
#include <QRegion>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace quorvex {

// What the pointer did over one of the surfaces, at a point of the desktop (logical pixels, the
// compositor's layout, which is Qt's global coordinates on Wayland too).
struct LayerPointerEvent {
    enum Kind { Motion, Press, Release, Leave } kind = Motion;
    QPointF desktop;
    Qt::MouseButton button = Qt::NoButton;
};

// One transparent layer-shell surface per output of a wlroots desktop, over a Wayland connection of
// its own, above every window (layer "overlay", anchored to all edges, taking no keyboard). A
// picture drawn at a place of the desktop shows on the outputs it lies on, and only the given input
// region takes the pointer: everything else reaches the windows below.
class LayerSurfaces {
public:
    // On the Wayland display `display` (WAYLAND_DISPLAY; empty: the default one); fails when it
    // cannot be opened or offers no layer shell.
    static Result<std::unique_ptr<LayerSurfaces>> connect(const std::string& display);
    ~LayerSurfaces();

    // The connection's file descriptor: readable when events wait for dispatch().
    int fd() const;
    // The connection has failed (the compositor went away or refused a request): nothing more shows.
    bool failed() const;
    // Reads and handles what the compositor sent, and sends what waits to be sent.
    void dispatch();
    // Returns once the compositor has handled every request sent so far.
    void roundtrip();

    // The largest output scale: pictures drawn at it are sharp on every output.
    int largestScale() const;
    // The top-left corner of the outputs' layout (logical): the desktop picture's origin.
    QPoint desktopOrigin() const;
    // The size of a picture of the whole layout at the largest scale (device pixels).
    QSize desktopSize() const;

    using PointerHandler = std::function<void(const LayerPointerEvent&)>;
    void setPointerHandler(PointerHandler handler);
    // A key (its Linux input code) pressed or released while the compositor gives the surfaces the
    // keyboard, which they never ask for.
    using KeyHandler = std::function<void(uint32_t code, bool pressed)>;
    void setKeyHandler(KeyHandler handler);
    // The pointer's image over the surfaces, from the cursor theme (the first of the names it has).
    void setCursor(const std::vector<const char*>& names);

    // Shows `picture` (premultiplied ARGB at any device pixel ratio, transparent where nothing shows) at
    // `place` of the desktop, `input` (picture coordinates) taking the pointer; the surfaces appear on the
    // first call.
    void present(const QImage& picture, const QPoint& place, const QRegion& input);
    // Takes the surfaces off the screen; the next present() brings them back.
    void hide();

private:
    LayerSurfaces();
    struct Private;
    std::unique_ptr<Private> d;
};

} // namespace quorvex
