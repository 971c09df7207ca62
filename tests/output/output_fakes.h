#pragma once

#include "fakes.h"

// The output tests use the shared stand-ins of the seams.
namespace outputtest {
using testsupport::ChosenPathDialog;
using testsupport::RecordingMessageBoxes;
using testsupport::RecordingPrinter;
} // namespace outputtest
