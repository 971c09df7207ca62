#pragma once

#include "common/message_box.h"

#include <QUrl>

class QWidget;

namespace quorvex {

// The product's options page, opened by the about box's link.
inline const QUrl kOptionsPageUrl = QUrl(QStringLiteral("https://www.quorvex7.com/options.html"));

// Asks the desktop to open an address; nothing is reported when no browser opens.
class UrlOpener {
public:
    virtual ~UrlOpener() = default;
    virtual void open(const QUrl& url) = 0;
};

class DesktopUrlOpener final : public UrlOpener {
public:
    void open(const QUrl& url) override;
};

// Message boxes as real modal dialogs owned by `parent`.
class DialogMessageBoxes final : public MessageBoxes {
public:
    explicit DialogMessageBoxes(QWidget* parent = nullptr)
        : m_parent(parent)
    {
    }
    void setParent(QWidget* parent) { m_parent = parent; }
    void show(const Message& message) override;

private:
    QWidget* m_parent;
};

} // namespace quorvex
