#include "app/grab_wait.h"

#include "common/numeric.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTime>
#include <QTimer>
#include <cmath>

namespace quorvex {

std::chrono::milliseconds wholeSecondWait(double secondsSinceMidnight)
{
    const double until = roundHalfEven(secondsSinceMidnight) + 1.0;
    return std::chrono::milliseconds(std::llround((until - secondsSinceMidnight) * 1000.0));
}

double SystemWallClock::secondsSinceMidnight() const
{
    return QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
}

void waitWithEvents(std::chrono::milliseconds duration)
{
    QElapsedTimer elapsed;
    elapsed.start();
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    // A timer may fire a little early; loop until the monotonic clock says the time is up.
    while (elapsed.elapsed() < duration.count()) {
        timer.start(static_cast<int>(duration.count() - elapsed.elapsed()));
        loop.exec();
    }
}

} // namespace quorvex
