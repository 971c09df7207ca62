#pragma once

#include "app/grab_wait.h"
#include "app/main_window.h"
#include "app/platform_services.h"
#include "fakes.h"
#include "test_images.h"
#include "ui_helpers.h"

#include <QAction>
#include <QGuiApplication>
#include <QLabel>
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
    // A control or an action by the name it stands for.
    template <typename T = QWidget> T* control(const char* name)
    {
        T* found = window.findChild<T*>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    void trigger(const char* action)
    {
        if (QAction* found = control<QAction>(action))
            found->trigger();
    }
    QWidget* surface() { return control("Form1Surface"); }
    QWidget* view() { return control("pic1"); }
    const quorvex::PictureViewState& state() const { return window.pictures(); }

    FakeScreen screen;
    RecordingMessageBoxes messages;
    RecordingUrlOpener urls;
    FixedClock clock;
    ChosenPathDialog saveDialog;
    RecordingPrinter printer;
    quorvex::Form1 window;
};

} // namespace testsupport
