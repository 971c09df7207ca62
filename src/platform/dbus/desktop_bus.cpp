#include "platform/desktop_bus.h"

#include "platform/dbus/bus_helpers.h"
#include "platform/kde/kwin_picture.h"
#include "platform/kde/kwin_screenshot_reader.h"
#include "platform/portal/portal_reader.h"

namespace quorvex {

namespace {

class SessionDesktopBus final : public DesktopBus {
public:
    explicit SessionDesktopBus(bus::Connection connection)
        : m_connection(std::move(connection))
    {
    }

    BusServices services() override
    {
        return {kwinScreenshotVersion(m_connection.get()) >= kKWinWorkspaceVersion,
            portalOnBus(m_connection.get())};
    }

    std::unique_ptr<ScreenshotReader> kwinScreenshot(KWinCapture capture) override
    {
        return std::make_unique<KWinScreenshotReader>(m_connection, capture);
    }

    std::unique_ptr<ScreenshotReader> portal(bool asksFirst, SayLine say) override
    {
        return std::make_unique<PortalReader>(
            m_connection, PortalReader::Settings{asksFirst, std::move(say)});
    }

private:
    bus::Connection m_connection;
};

// Where there is no session bus: nothing is on it, and a reader asked for all the same says why.
class AbsentDesktopBus final : public DesktopBus {
public:
    explicit AbsentDesktopBus(std::string reason)
        : m_reason(std::move(reason))
    {
    }
    BusServices services() override { return {}; }
    std::unique_ptr<ScreenshotReader> kwinScreenshot(KWinCapture) override
    {
        return std::make_unique<Unreadable>(m_reason);
    }
    std::unique_ptr<ScreenshotReader> portal(bool, SayLine) override
    {
        return std::make_unique<Unreadable>(m_reason);
    }

private:
    struct Unreadable final : ScreenshotReader {
        explicit Unreadable(std::string reason)
            : reason(std::move(reason))
        {
        }
        Result<ScreenPixels> screenshot() override { return fail(reason); }
        std::string reason;
    };
    std::string m_reason;
};

} // namespace

std::unique_ptr<DesktopBus> connectDesktopBus()
{
    Result<bus::Connection> connection = bus::connectSessionBus();
    if (!connection)
        return std::make_unique<AbsentDesktopBus>(connection.error());
    return std::make_unique<SessionDesktopBus>(std::move(*connection));
}

} // namespace quorvex
