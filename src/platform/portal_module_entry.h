#pragma once

#include "capture/screen_reader.h"

#include <memory>
#include <string>

// What the portal module exports: it opens the portal reader and takes the first screenshot,
// giving the reader, or false and why not.
extern "C" {
using PortalReaderOpener = bool(std::unique_ptr<quorvex::ScreenReader>* reader, std::string* failure);
inline constexpr const char* kPortalReaderOpenerName = "quorvex7OpenPortalReader";
bool quorvex7OpenPortalReader(std::unique_ptr<quorvex::ScreenReader>* reader, std::string* failure);
}
