#include "platform/wayland/sway_windows.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace quorvex {

namespace {

constexpr char kMagic[] = "i3-ipc";
constexpr uint32_t kGetTree = 4;
constexpr int kAnswerTimeoutMs = 5000;
constexpr uint32_t kMostAnswer = 64u << 20;

int numberIn(const JsonValue& node, const char* object, const char* name)
{
    const JsonValue* inside = node.member(object);
    const JsonValue* value = inside ? inside->member(name) : nullptr;
    return value && value->kind == JsonValue::Kind::Number ? int(value->number) : 0;
}

std::optional<PixelRect> rectOf(const JsonValue& node)
{
    if (!node.member("rect"))
        return std::nullopt;
    const PixelRect result{numberIn(node, "rect", "x"), numberIn(node, "rect", "y"),
        numberIn(node, "rect", "width"), numberIn(node, "rect", "height")};
    return result.isEmpty() ? std::nullopt : std::optional(result);
}

// A view with the frame sway draws round it: its rect has the borders but not the title bar above
// them (deco_rect's height), nor, in a tabbed or stacked container, the tabs or titles between the
// container's top and the view.
std::optional<PixelRect> frameOf(const JsonValue& node, const JsonValue* parent)
{
    std::optional<PixelRect> rect = rectOf(node);
    const JsonValue* border = node.member("border");
    if (!rect || !border || border->string != "normal")
        return rect;
    // In 64 bits, each part bounded: a compositor's numbers are not trusted.
    int64_t top = int64_t(rect->y) - std::clamp(numberIn(node, "deco_rect", "height"), 0, 1 << 16);
    const JsonValue* layout = parent ? parent->member("layout") : nullptr;
    if (layout && (layout->string == "tabbed" || layout->string == "stacked") && parent->member("rect"))
        top = std::max(std::min<int64_t>(top, numberIn(*parent, "rect", "y")), int64_t(rect->y) - (1 << 16));
    const int64_t height = int64_t(rect->y) + rect->height - top;
    if (top < INT_MIN || height > INT_MAX)
        return rect;
    return PixelRect{rect->x, int(top), rect->width, int(height)};
}

// A window (a view), not a container of others: sway gives views a process.
bool isView(const JsonValue& node)
{
    const JsonValue* pid = node.member("pid");
    return pid && pid->kind == JsonValue::Kind::Number;
}

struct Stacks {
    std::vector<PixelRect> fullscreen, floating, tiled; // each bottom first
    std::optional<PixelRect> focused;
};

void collect(const JsonValue& node, const JsonValue* parent, bool floating, Stacks& stacks, int depth)
{
    if (depth > 100)
        return;
    if (isView(node)) {
        const JsonValue* visible = node.member("visible");
        const JsonValue* fullscreen = node.member("fullscreen_mode");
        const std::optional<PixelRect> rect = frameOf(node, parent);
        if (rect && node.member("focused") && node.member("focused")->isTrue())
            stacks.focused = rect;
        if (rect && visible && visible->isTrue()) {
            if (fullscreen && fullscreen->kind == JsonValue::Kind::Number && fullscreen->number > 0)
                stacks.fullscreen.push_back(*rect);
            else
                (floating ? stacks.floating : stacks.tiled).push_back(*rect);
        }
    }
    for (const char* children : {"nodes", "floating_nodes"})
        if (const JsonValue* list = node.member(children); list && list->kind == JsonValue::Kind::Array)
            for (const JsonValue& child : list->items)
                collect(child, &node, floating || std::strcmp(children, "floating_nodes") == 0, stacks,
                    depth + 1);
}

Status sendAll(int fd, const std::string& bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::send(fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return fail(std::string("cannot ask sway for its windows: ") + std::strerror(errno));
        done += size_t(n);
    }
    return {};
}

Status receiveAll(int fd, char* into, size_t length)
{
    size_t done = 0;
    while (done < length) {
        pollfd watched{fd, POLLIN, 0};
        const int ready = ::poll(&watched, 1, kAnswerTimeoutMs);
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready == 0)
            return fail("sway did not say which windows it shows within 5 s");
        const ssize_t n = ::recv(fd, into + done, length - done, 0);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return fail("sway closed its IPC socket before it answered");
        done += size_t(n);
    }
    return {};
}

} // namespace

SwayWindows swayWindows(const JsonValue& tree)
{
    Stacks stacks;
    collect(tree, nullptr, false, stacks, 0);
    SwayWindows windows{stacks.focused, {}};
    for (auto* stack : {&stacks.fullscreen, &stacks.floating, &stacks.tiled})
        windows.shown.insert(windows.shown.end(), stack->rbegin(), stack->rend());
    return windows;
}

Result<SwayWindows> askSwayWindows(const std::string& socketPath)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (socketPath.empty() || socketPath.size() >= sizeof address.sun_path)
        return fail("no sway IPC socket (SWAYSOCK) to ask for its windows");
    std::memcpy(address.sun_path, socketPath.c_str(), socketPath.size());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return fail(std::string("cannot ask sway for its windows: ") + std::strerror(errno));
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
        return fail("cannot reach sway's IPC socket '" + socketPath + "': " + std::strerror(errno));
    std::string request(kMagic, sizeof kMagic - 1);
    const uint32_t header[2] = {0, kGetTree};
    request.append(reinterpret_cast<const char*>(header), sizeof header);
    if (Status sent = sendAll(fd, request); !sent)
        return fail(sent.error());
    char answerHeader[sizeof kMagic - 1 + 8];
    if (Status received = receiveAll(fd, answerHeader, sizeof answerHeader); !received)
        return fail(received.error());
    uint32_t length = 0, type = 0;
    std::memcpy(&length, answerHeader + sizeof kMagic - 1, 4);
    std::memcpy(&type, answerHeader + sizeof kMagic - 1 + 4, 4);
    if (std::memcmp(answerHeader, kMagic, sizeof kMagic - 1) != 0 || type != kGetTree || length > kMostAnswer)
        return fail("sway's IPC socket answered something else than its tree");
    std::string body(length, '\0');
    if (Status received = receiveAll(fd, body.data(), length); !received)
        return fail(received.error());
    const Result<JsonValue> tree = parseJson(body);
    if (!tree)
        return fail(tree.error());
    return swayWindows(*tree);
}

} // namespace quorvex
