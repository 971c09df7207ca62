#pragma once

#include "capture/selection_grab_receiver.h"

#include <functional>
#include <vector>

namespace overlaytest {

struct RecordedGrab {
    QImage picture;
    quorvex::SelectionGrabGeometry geometry;
    bool hatchVisibleDuringCall = true;
};

// Records every grab; `hatchProbe`, asked during each call, tells whether the hatch was showing.
class RecordingReceiver final : public quorvex::SelectionGrabReceiver {
public:
    std::function<bool()> hatchProbe;
    std::vector<RecordedGrab> grabs;

    void acceptSelectionGrab(const QImage& picture, const quorvex::SelectionGrabGeometry& g) override
    {
        grabs.push_back({picture, g, hatchProbe ? hatchProbe() : true});
    }
};

} // namespace overlaytest
