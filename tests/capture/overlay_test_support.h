#pragma once

#include "capture/screen_source.h"
#include "capture/selection_grab_receiver.h"
#include "fakes.h"
#include "test_images.h"

#include <QElapsedTimer>
#include <QTest>
#include <functional>
#include <vector>

// Stand-ins shared by the overlay's tests: a receiver that records every grab, and a screen that
// shows the coordinate pattern.
namespace overlaytest {

struct RecordedGrab {
    QImage picture;
    quorvex::SelectionGrabGeometry geometry;
    bool hatchVisibleDuringCall = true;
};

class RecordingReceiver final : public quorvex::SelectionGrabReceiver {
public:
    // Asked during each call: is the overlay's hatch showing?
    std::function<bool()> hatchProbe;
    std::vector<RecordedGrab> grabs;

    void acceptSelectionGrab(const QImage& picture, const quorvex::SelectionGrabGeometry& g) override
    {
        grabs.push_back({picture, g, hatchProbe ? hatchProbe() : true});
    }
};

// The desktop shows coordinatePattern(1920, 1080); records each rectangle read.
using PatternScreen = testsupport::FakeScreen;

// Lets the event loop run until `done` or `timeoutMs` pass; true when done.
inline bool waitUntil(const std::function<bool()>& done, int timeoutMs = 5000)
{
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QTest::qWait(10);
    }
    return true;
}

} // namespace overlaytest
