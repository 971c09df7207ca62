#include "platform/clipboard_keeper.h"

#include "common/this_process.h"
#include "platform/wayland/data_control_clipboard_server.h"
#include "platform/wayland/data_device_clipboard_server.h"
#include "platform/x11/xcb_clipboard_server.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace quorvex {

namespace {

// The keeper tells its caller how taking the clipboard went: this byte alone, or a line saying why not.
constexpr char kHeld = '\0';
// A display that has not let the keeper take the clipboard by then never will.
constexpr int kTakeTimeoutMs = 10000;

void writeAll(int fd, const std::string& text)
{
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return;
        done += size_t(n);
    }
}

// The keeper itself: detached from the caller's session and streams; reports on `report`, then serves.
[[noreturn]] void serveDetached(
    const std::vector<ClipboardOffer>& offers, ClipboardDisplay display, int report)
{
    std::signal(SIGPIPE, SIG_IGN); // a reader that goes away ends its transfer, not the keeper
    std::signal(SIGHUP, SIG_IGN);
    if (const int null = open("/dev/null", O_RDWR); null >= 0) {
        for (int fd : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO})
            dup2(null, fd);
        if (null > STDERR_FILENO)
            close(null);
    }
    // Nothing else of the caller's stays open in it: no file it wrote, no pipe a reader waits on.
    if (report != 3 && dup2(report, 3) == 3) {
        close(report);
        report = 3;
    }
    close_range(4, ~0U, 0);
    [[maybe_unused]] const int root = chdir("/"); // keeps no folder of the caller's busy
    bool reported = false;
    const auto held = [&] {
        writeAll(report, std::string(1, kHeld));
        close(report);
        reported = true;
    };
    const Status served = display == ClipboardDisplay::X11
        ? serveX11Clipboard(offers, environmentValue("DISPLAY"), held)
        : serveWaylandClipboard(offers, environmentValue("WAYLAND_DISPLAY"), held, [&] {
              // Without data control (GNOME) an X11 client owns the clipboard with no window focused,
              // and the compositor hands it to its Wayland clients; a window that must be given the
              // keyboard is the way where no X11 server runs beside it.
              if (!environmentValue("DISPLAY").empty())
                  return serveX11Clipboard(offers, environmentValue("DISPLAY"), held);
              return serveWaylandClipboardWithFocus(offers, environmentValue("WAYLAND_DISPLAY"), held);
          });
    if (!reported && !served)
        writeAll(report, served.error());
    _exit(served ? 0 : 1);
}

// What the keeper reported: held, or why not.
Status readReport(int fd)
{
    std::string report;
    pollfd watched{fd, POLLIN, 0};
    for (;;) {
        const int ready = poll(&watched, 1, kTakeTimeoutMs);
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready == 0)
            return fail("the clipboard keeper did not take the clipboard within 10 s");
        char buffer[512];
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        report.append(buffer, size_t(n));
        if (report.front() == kHeld)
            return {};
    }
    if (report.empty())
        return fail("the clipboard keeper ended before it took the clipboard");
    return fail(report);
}

bool readExactly(int fd, std::string& into, size_t length)
{
    into.resize(length);
    size_t done = 0;
    while (done < length) {
        const ssize_t n = read(fd, into.data() + done, length - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += size_t(n);
    }
    return true;
}

} // namespace

Result<ClipboardDisplay> sessionClipboardDisplay()
{
    if (!environmentValue("WAYLAND_DISPLAY").empty())
        return ClipboardDisplay::Wayland;
    if (!environmentValue("DISPLAY").empty())
        return ClipboardDisplay::X11;
    return fail("no display whose clipboard could hold it (neither WAYLAND_DISPLAY nor DISPLAY is set)");
}

Status keepClipboard(const std::vector<ClipboardOffer>& offers, ClipboardDisplay display)
{
    int report[2];
    if (pipe2(report, O_CLOEXEC) != 0)
        return fail(std::string("cannot start the clipboard keeper: ") + std::strerror(errno));
    const pid_t child = fork();
    if (child < 0) {
        close(report[0]);
        close(report[1]);
        return fail(std::string("cannot start the clipboard keeper: ") + std::strerror(errno));
    }
    if (child == 0) {
        // A session of its own, and a grandchild: no terminal reaches it and nobody waits for it.
        close(report[0]);
        setsid();
        const pid_t keeper = fork();
        if (keeper != 0)
            _exit(keeper < 0 ? 1 : 0);
        serveDetached(offers, display, report[1]);
    }
    close(report[1]);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) { }
    Status held = readReport(report[0]);
    close(report[0]);
    return held;
}

int keepClipboardMain(int argc, char** argv)
{
    const auto usage = [] {
        std::fputs(
            "quorvex7: usage: quorvex7 --keep-clipboard x11|wayland TYPE LENGTH [TYPE LENGTH]...\n", stderr);
        return 2;
    };
    if (argc < 5 || (argc - 3) % 2 != 0)
        return usage();
    const std::string system = argv[2];
    if (system != "x11" && system != "wayland")
        return usage();
    std::vector<ClipboardOffer> offers;
    for (int i = 3; i + 1 < argc; i += 2) {
        char* end = nullptr;
        errno = 0;
        const unsigned long long length = std::strtoull(argv[i + 1], &end, 10);
        if (!*argv[i] || end == argv[i + 1] || *end || errno || argv[i + 1][0] == '-'
            || length > (1ull << 31))
            return usage();
        ClipboardOffer offer{argv[i], {}};
        if (!readExactly(STDIN_FILENO, offer.bytes, size_t(length))) {
            std::fprintf(
                stderr, "quorvex7: standard input ended before the %s bytes of %s\n", argv[i + 1], argv[i]);
            return 1;
        }
        offers.push_back(std::move(offer));
    }
    const Status kept
        = keepClipboard(offers, system == "x11" ? ClipboardDisplay::X11 : ClipboardDisplay::Wayland);
    if (!kept) {
        std::fprintf(stderr, "quorvex7: %s\n", kept.error().c_str());
        return 1;
    }
    return 0;
}

} // namespace quorvex
