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

    std::unique_ptr<ScreenshotReader> kwinScreenshot() override
    {
        return std::make_unique<KWinScreenshotReader>(m_connection);
    }

    std::unique_ptr<ScreenshotReader> portal(bool asksFirst, SayLine say) override
    {
        return std::make_unique<PortalReader>(
            m_connection, PortalReader::Settings{asksFirst, std::move(say)});
    }

private:
    bus::Connection m_connection;
};

} // namespace

Result<std::unique_ptr<DesktopBus>> connectDesktopBus()
{
    Result<bus::Connection> connection = bus::connectSessionBus();
    if (!connection)
        return fail(connection.error());
    return std::unique_ptr<DesktopBus>(std::make_unique<SessionDesktopBus>(std::move(*connection)));
}

} // namespace quorvex
