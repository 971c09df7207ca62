#pragma once

#include "capture/selection_grab_receiver.h"

#include <functional>
#include <vector>

namespace overlaytest {

// Records the picture of every grab; `duringGrab`, when set, runs inside each hand-over.
class RecordingReceiver final : public quorvex::SelectionGrabReceiver {
public:
    std::function<void()> duringGrab;
    std::vector<QImage> grabs;

    quorvex::Twips pictureTwips() const override { return {}; }

    void acceptSelectionGrab(const QImage& picture, const quorvex::SelectionGrabGeometry&) override
    {
        grabs.push_back(picture);
        if (duringGrab)
            duringGrab();
    }
};

} // namespace overlaytest
