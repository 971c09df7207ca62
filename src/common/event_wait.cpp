#include "common/event_wait.h"

#include <QEvent>
#include <QEventLoop>
#include <QTimer>

namespace quorvex {

void waitForEvent(
    QObject& target, const std::function<bool(const QEvent&)>& wanted, const std::function<void()>& start)
{
    QEventLoop loop;
    QTimer::singleShot(1000, &loop, &QEventLoop::quit);
    struct Watch final : QObject {
        QEventLoop* loop;
        const std::function<bool(const QEvent&)>* wanted;
        bool eventFilter(QObject*, QEvent* event) override
        {
            if ((*wanted)(*event))
                loop->quit();
            return false;
        }
    } watch;
    watch.loop = &loop;
    watch.wanted = &wanted;
    target.installEventFilter(&watch);
    if (start)
        start();
    loop.exec();
    target.removeEventFilter(&watch);
}

} // namespace quorvex
