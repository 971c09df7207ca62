#pragma once

#include "capture/screen_source.h"
#include "common/message_box.h"

#include <QPainter>
#include <vector>

namespace testsupport {

// A screen with known pixels; grabs copy from it (black outside), and are counted.
class FakeScreen final : public quorvex::ScreenSource {
public:
    explicit FakeScreen(QImage pixels)
        : m_pixels(std::move(pixels))
    {
    }
    QImage grab(WId, bool, const QRect& rect) override
    {
        ++grabs;
        lastRect = rect;
        QImage out(rect.size(), QImage::Format_RGB32);
        out.fill(Qt::black);
        QPainter(&out).drawImage(QPoint(0, 0), m_pixels, rect);
        return out;
    }
    QSize screenSize() const override { return m_pixels.size(); }
    const QImage& pixels() const { return m_pixels; }
    int grabs = 0;
    QRect lastRect;

private:
    QImage m_pixels;
};

// Message boxes that are recorded instead of shown.
class RecordingMessageBoxes final : public quorvex::MessageBoxes {
public:
    void show(const quorvex::Message& message) override { shown.push_back(message); }
    std::vector<quorvex::Message> shown;
};

} // namespace testsupport
