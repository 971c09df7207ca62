#pragma once

#include "common/result.h"
#include "platform/clipboard_keeper.h"

#include <functional>
#include <string>
#include <vector>

namespace quorvex {

// Serves `offers` as X11's CLIPBOARD selection on `display` (empty: $DISPLAY), each under its MIME
// type as target, besides TARGETS, TIMESTAMP and MULTIPLE; large ones incrementally (INCR). Calls
// `held` once this client owns the selection, then asks a clipboard manager, where one runs, to save
// the offers. Returns when another client has taken the selection or the manager has saved them (and
// every transfer under way has ended), or why the selection could not be taken.
Status serveX11Clipboard(
    const std::vector<ClipboardOffer>& offers, const std::string& display, const std::function<void()>& held);

} // namespace quorvex
