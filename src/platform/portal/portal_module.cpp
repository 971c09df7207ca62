// The portal reader as a module the command line loads only when it reads through the portal, so
// its other grabs never load the D-Bus library.
#include "platform/portal/portal_reader.h"
#include "platform/portal_module_entry.h"

extern "C" __attribute__((visibility("default"))) bool quorvex7OpenPortalReader(
    std::unique_ptr<quorvex::ScreenReader>* reader, std::string* failure)
{
    quorvex::PortalReader::Opened opened = quorvex::PortalReader::connect();
    if (!opened.reader) {
        *failure = std::move(opened.failure);
        return false;
    }
    if (std::string refused = opened.reader->takeScreenshot(); !refused.empty()) {
        *failure = std::move(refused);
        return false;
    }
    *reader = std::move(opened.reader);
    return true;
}
