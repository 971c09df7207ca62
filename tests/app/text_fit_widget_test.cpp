#include "app/platform_services.h"
#include "app/stretch.h"
#include "app_fixture.h"
#include "capture/defined_size_dialog.h"
#include "capture/selection_overlay.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QStyleOptionButton>
#include <QTimer>
#include <gtest/gtest.h>

using namespace quorvex;
using namespace testsupport;

namespace {

// Where a control's text lies in its window, measured with the control's own font; empty when it
// has none. A button's text has its style's contents area.
QRect textRect(QWidget* control, QString& text, QRect& room)
{
    QRect area;
    int flags = Qt::AlignLeft | Qt::AlignVCenter;
    if (auto* label = qobject_cast<QLabel*>(control)) {
        text = label->text();
        area = label->contentsRect();
        flags = int(label->alignment());
    } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        text = button->text();
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = text;
        area = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
        flags = Qt::AlignCenter;
    }
    if (text.isEmpty())
        return {};
    const QPoint corner = control->mapTo(control->window(), QPoint(0, 0));
    room = area.translated(corner);
    const QSize size = control->fontMetrics().size(Qt::TextSingleLine, text);
    return QStyle::alignedRect(Qt::LeftToRight, Qt::Alignment(flags), size, area).translated(corner);
}

} // namespace

// Every text of the main window (its about box included), the overlay and the dialog fits inside
// its control with the font in use, and no two texts of a window overlap.
TEST(TextFit, EveryCaptionFitsItsControlAndNoneOverlap)
{
    MainWindowFixture f;
    f.trigger("About");
    f.control<QLabel>("lblTips")->setText(stretchHint(StretchMode::Horizontal)); // the longest hint
    Form2 overlay(f.screen, f.window, Twips{});
    Form3 dialog({}, Twips{});
    for (QWidget* window :
        {static_cast<QWidget*>(&f.window), static_cast<QWidget*>(&overlay), static_cast<QWidget*>(&dialog)}) {
        std::vector<std::pair<QString, QRect>> texts;
        for (QWidget* control : window->findChildren<QWidget*>()) {
            QString text;
            QRect room;
            const QRect placed = textRect(control, text, room);
            if (placed.isEmpty())
                continue;
            EXPECT_TRUE(room.contains(placed))
                << text.toStdString() << " needs " << placed.width() << "x" << placed.height() << ", has "
                << room.width() << "x" << room.height();
            for (const auto& [other, otherRect] : texts)
                EXPECT_FALSE(placed.intersects(otherRect))
                    << text.toStdString() << " runs into " << other.toStdString();
            texts.emplace_back(text, placed);
        }
        EXPECT_FALSE(texts.empty());
    }
}

// Dialog windows ask for a title and a close button only.
TEST(TextFit, DialogWindowsHaveNoMinimiseOrMaximiseButton)
{
    Form3 dialog({}, Twips{});
    Qt::WindowFlags messageBoxFlags;
    QTimer::singleShot(0, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            messageBoxFlags = box->windowFlags();
            box->accept();
        }
    });
    DialogMessageBoxes().show({QStringLiteral("text")});
    for (Qt::WindowFlags flags : {dialog.windowFlags(), messageBoxFlags}) {
        EXPECT_TRUE(flags.testFlags(Qt::CustomizeWindowHint | Qt::WindowCloseButtonHint)) << flags;
        EXPECT_FALSE(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    }
}
