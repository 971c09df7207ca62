#pragma once

#include "capture/screen_source.h"
#include "platform/still/still_view.h"

#include <QImage>
#include <QObject>
#include <QPointer>
#include <memory>

class QScreen;
class QWidget;

namespace quorvex {

// A picture of the desktop shown full-screen on one output, for desktops where a window can be
// neither placed nor cut to a shape (a desktop portal's, or a compositor without layer shell): the
// selection overlay becomes a child widget of it, so its geometry is its place on the picture. Each
// grab hides the still, reads the live desktop, and shows the still again, refreshed.
class StillPicture final : public QObject {
public:
    explicit StillPicture(std::unique_ptr<ScreenSource> desktop);
    ~StillPicture() override;

    // Reads the desktop for a new still on `home` (the primary output without one).
    Status take(QScreen* home);
    // Shows the still with `overlay` on it where the overlay is on the desktop. Closing the overlay
    // closes the still.
    void hold(QWidget& overlay);
    // The pixels of `rect` (the desktop picture's pixels) as the desktop shows them with the still
    // hidden.
    Result<QImage> readFresh(const QRect& rect);
    QSize desktopSize() const { return m_picture.size(); }
    const StillView& view() const { return m_view; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The whole desktop, read now.
    Result<QImage> readDesktop();
    void show();

    std::unique_ptr<ScreenSource> m_desktop;
    QImage m_picture;
    StillView m_view;
    QPointer<QWidget> m_window;
    QPointer<QWidget> m_overlay;
};

} // namespace quorvex
