#pragma once

#include "capture/screen_source.h"
#include "capture/window_source.h"
#include "common/message_box.h"
#include "output/printing.h"
#include "output/save_dialog.h"

#include "test_images.h"
#include <QList>

#include <optional>
#include <vector>

namespace testsupport {

// Known pixels that record each rectangle read; with `failure` set neither size nor pixels, as a
// refusing portal. Every window shows the same pixels from its corner; `active` is the one the
// desktop reports.
class FakeScreen final : public quorvex::ScreenSource, public quorvex::WindowSource {
public:
    struct WindowRead {
        WId window;
        bool clientArea;
        QRect rect;
        bool operator==(const WindowRead&) const = default;
    };

    explicit FakeScreen(QImage pixels = coordinatePattern(1920, 1080))
        : m_pixels(std::move(pixels))
    {
    }
    quorvex::Result<QImage> grab(const QRect& rect) override
    {
        reads.push_back(rect);
        if (!failure.isEmpty())
            return quorvex::fail(failure.toStdString());
        return m_pixels.copy(rect);
    }
    quorvex::Result<QSize> screenSize() const override
    {
        if (!failure.isEmpty())
            return quorvex::fail(failure.toStdString());
        return m_pixels.size();
    }
    quorvex::Status readable() const override
    {
        if (!unreadable.isEmpty())
            return quorvex::fail(unreadable.toStdString());
        return {};
    }
    quorvex::ActiveWindow activeWindow() override { return active; }
    QImage grabWindow(WId window, bool clientArea, const QRect& rect) override
    {
        windowReads.push_back({window, clientArea, rect});
        return m_pixels.copy(rect);
    }
    const QImage& pixels() const { return m_pixels; }
    std::vector<QRect> reads;
    std::vector<WindowRead> windowReads;
    QString unreadable;
    QString failure;
    quorvex::ActiveWindow active;

private:
    QImage m_pixels;
};

// Message boxes that are recorded instead of shown.
class RecordingMessageBoxes final : public quorvex::MessageBoxes {
public:
    void show(const quorvex::Message& message) override { shown.append(message); }
    QList<quorvex::Message> shown;
};

// Answers with a chosen path, or cancels when there is none.
class ChosenPathDialog final : public quorvex::SaveFileDialog {
public:
    explicit ChosenPathDialog(std::optional<QString> path = std::nullopt)
        : path(std::move(path))
    {
    }

    std::optional<Answer> exec(const Request& request) override
    {
        requests.append(request);
        if (!path)
            return std::nullopt;
        return Answer{*path, 1, request.flags};
    }

    QList<Request> requests;
    std::optional<QString> path;
};

// 19,000 x 27,000 HIMETRIC printable upright; keeps its orientation between documents, as ours does.
class RecordingPrinter final : public quorvex::Printer {
public:
    struct Page {
        quorvex::PageOrientation orientation;
        quorvex::PrintSize size;
        QSize picture;

        bool operator==(const Page&) const = default;
    };

    void setOrientation(quorvex::PageOrientation o) override { orientation = o; }
    std::optional<quorvex::PrintSize> printableArea() override
    {
        if (!reachable)
            return std::nullopt;
        return orientation == quorvex::PageOrientation::Portrait ? quorvex::PrintSize{19000, 27000}
                                                                 : quorvex::PrintSize{27000, 19000};
    }
    bool paintPicture(const QImage& picture, const quorvex::PrintSize& size) override
    {
        if (!reachable)
            return false;
        open.append({orientation, size, picture.size()});
        return true;
    }
    bool endDoc() override
    {
        if (open.isEmpty() || endFails)
            return false;
        sent.append(open);
        open.clear();
        return true;
    }

    quorvex::PageOrientation orientation = quorvex::PageOrientation::Portrait;
    bool reachable = true;
    bool endFails = false;
    QList<Page> open;
    QList<Page> sent;
};

} // namespace testsupport
