#include "platform/portal/portal_protocol.h"

#include <algorithm>

namespace quorvex {

namespace {

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

std::string portalRequestPath(std::string_view uniqueName, std::string_view token)
{
    std::string sender(uniqueName.substr(uniqueName.starts_with(':') ? 1 : 0));
    std::replace(sender.begin(), sender.end(), '.', '_');
    return std::string(kPortalObjectPath) + "/request/" + sender + "/" + std::string(token);
}

std::string portalRequestToken(unsigned processId, unsigned sequence)
{
    return "quorvex7_" + std::to_string(processId) + "_" + std::to_string(sequence);
}

Status portalResponseFailure(std::uint32_t response)
{
    if (response == 0)
        return {};
    if (response == 1 || response == 2)
        return fail(std::string("the desktop portal refused the screenshot (")
            + (response == 1 ? "cancelled" : "denied")
            + "); allow this program to take screenshots without asking: on GNOME, grant "
              "\"Screenshots\" in Settings > Apps, or run flatpak permission-set screenshot screenshot '' "
              "yes");
    return fail(
        "the desktop portal answered the screenshot with the unknown response " + std::to_string(response));
}

std::string neitherScreenSourceMessage()
{
    return "this desktop offers neither screen copy (zwlr_screencopy_manager_v1) nor the desktop portal "
           "(org.freedesktop.portal.Screenshot); install xdg-desktop-portal and its backend for your desktop";
}

std::string portalMissingMessage()
{
    return "the desktop portal (org.freedesktop.portal.Screenshot) is not on the session bus; install "
           "xdg-desktop-portal and its backend for your desktop";
}

std::string portalTimeoutMessage(std::chrono::seconds waited)
{
    const bool minutes = waited.count() % 60 == 0;
    return "the desktop portal did not answer the screenshot within "
        + (minutes ? std::to_string(waited.count() / 60) + " minutes" : std::to_string(waited.count()) + " s")
        + "; nothing was grabbed";
}

std::string portalQuestionMessage()
{
    return "the desktop asks whether this program may take screenshots: answer it on the screen (waiting up "
           "to "
        + std::to_string(kPortalQuestionTimeout.count() / 60) + " minutes)";
}

std::string pathFromFileUri(std::string_view uri)
{
    constexpr std::string_view scheme = "file://";
    if (!uri.starts_with(scheme))
        return {};
    uri.remove_prefix(scheme.size());
    // file://localhost/tmp/x names /tmp/x too; any other host is not this machine's.
    if (uri.starts_with("localhost/"))
        uri.remove_prefix(9);
    if (!uri.starts_with('/'))
        return {};
    std::string path;
    for (size_t i = 0; i < uri.size(); ++i) {
        if (uri[i] != '%') {
            path += uri[i];
            continue;
        }
        const int high = i + 2 < uri.size() ? hexValue(uri[i + 1]) : -1;
        const int low = high >= 0 ? hexValue(uri[i + 2]) : -1;
        if (low < 0 || (high == 0 && low == 0))
            return {};
        path += char(high * 16 + low);
        i += 2;
    }
    return path;
}

ScreenPixels croppedPixels(const ScreenPixels& pixels, const PixelRect& rect)
{
    if (pixels.isEmpty() || !PixelRect{0, 0, pixels.width, pixels.height}.contains(rect))
        return {};
    ScreenPixels part = pixels;
    part.bits = pixels.bits + rect.y * pixels.stride + std::ptrdiff_t(rect.x) * 4;
    part.width = rect.width;
    part.height = rect.height;
    return part;
}

} // namespace quorvex
