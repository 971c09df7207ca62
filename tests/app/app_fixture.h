#pragma once

#include "app/grab_wait.h"
#include "app/main_window.h"
#include "app/platform_services.h"
#include "fakes.h"
#include "test_images.h"

#include <QAction>
#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QUrl>
#include <gtest/gtest.h>
#include <vector>

namespace testsupport {

class RecordingUrlOpener final : public quorvex::UrlOpener {
public:
    void open(const QUrl& url) override { opened.push_back(url); }
    std::vector<QUrl> opened;
};

// A clock that stands still; at 10.5 s after midnight the whole-screen grab waits the shortest time.
class FixedClock final : public quorvex::WallClock {
public:
    double secondsSinceMidnight() const override { return reading; }
    double reading = 10.5;
};

// A main window over a fake screen, with recording services, shown at 96 dpi.
struct MainWindowFixture {
    explicit MainWindowFixture(QImage screenPixels = coordinatePattern(1024, 768))
        : screen(std::move(screenPixels))
        , window({screen, screen, messages, urls, clock, saveDialog, printer, *QGuiApplication::clipboard()},
              quorvex::Twips{})
    {
        window.show();
    }
    void trigger(const char* entry)
    {
        QAction* action = window.findChild<QAction*>(QLatin1String(entry));
        ASSERT_NE(action, nullptr) << entry;
        action->trigger();
    }

    FakeScreen screen;
    RecordingMessageBoxes messages;
    RecordingUrlOpener urls;
    FixedClock clock;
    ChosenPathDialog saveDialog;
    RecordingPrinter printer;
    quorvex::Form1 window;
};

inline void sendMouse(
    QWidget* widget, QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons buttons)
{
    QMouseEvent event(type, QPointF(pos), widget->mapToGlobal(QPointF(pos)), button, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}

} // namespace testsupport
