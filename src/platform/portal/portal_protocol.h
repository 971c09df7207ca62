#pragma once

#include "capture/screen_reader.h"
#include "common/result.h"

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

// The desktop portal's screenshot exchange (org.freedesktop.portal.Screenshot) as plain functions:
// what the bus client computes and decides, testable without a bus.
namespace quorvex {

// A portal that has not answered by then is taken to never answer; unless it is asking the person
// first (GNOME, where no answer is stored), who is given longer.
inline constexpr std::chrono::seconds kPortalAnswerTimeout{10};
inline constexpr std::chrono::seconds kPortalQuestionTimeout{120};

inline constexpr const char* kPortalBusName = "org.freedesktop.portal.Desktop";
inline constexpr const char* kPortalObjectPath = "/org/freedesktop/portal/desktop";
inline constexpr const char* kPortalScreenshotInterface = "org.freedesktop.portal.Screenshot";
inline constexpr const char* kPortalRequestInterface = "org.freedesktop.portal.Request";
inline constexpr const char* kPermissionStoreBusName = "org.freedesktop.impl.portal.PermissionStore";
inline constexpr const char* kPermissionStorePath = "/org/freedesktop/impl/portal/PermissionStore";

// The object path of the request the portal makes for a call carrying `token` from the bus
// connection `uniqueName` (":1.42"), known before the call so its answer cannot be missed.
std::string portalRequestPath(std::string_view uniqueName, std::string_view token);

// A token for the n-th request of this process: letters, digits and underscores only.
std::string portalRequestToken(unsigned processId, unsigned sequence);

// Fine for a screenshot taken (response 0); else why there is none, in one line.
Status portalResponseFailure(std::uint32_t response);

// Where neither source is there, and where the portal is not answering.
std::string neitherScreenSourceMessage();
std::string portalMissingMessage();
std::string portalTimeoutMessage(std::chrono::seconds waited = kPortalAnswerTimeout);
// Said before GNOME asks its question, and how long the answer is waited for.
std::string portalQuestionMessage();

// The local path a file:// URI names, its %-escapes decoded; empty for any other URI.
std::string pathFromFileUri(std::string_view uri);

// `rect` of `pixels`, sharing their memory; empty where `rect` is not wholly inside.
ScreenPixels croppedPixels(const ScreenPixels& pixels, const PixelRect& rect);

} // namespace quorvex
