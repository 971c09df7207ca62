#include "app/stretch.h"
#include "app_fixture.h"
#include "capture/defined_size_dialog.h"
#include "capture/selection_overlay.h"

#include <QAbstractButton>
#include <QLabel>
#include <QStyle>
#include <gtest/gtest.h>

using namespace quorvex;
using namespace testsupport;

// No two texts of the main window (its about box and longest hint included), the overlay or the
// defined-size dialog overlap, measured in each control's own font where its alignment puts them.
TEST(TextFit, NoTwoCaptionsOverlap)
{
    MainWindowFixture f;
    f.trigger("About");
    f.control<QLabel>("lblTips")->setText(stretchHint(StretchMode::Horizontal));
    Form2 overlay(f.screen, f.window, Twips{});
    Form3 dialog({}, Twips{});
    for (QWidget* window : std::initializer_list<QWidget*>{&f.window, &overlay, &dialog}) {
        std::vector<std::pair<QString, QRect>> texts;
        for (QWidget* control : window->findChildren<QWidget*>()) {
            auto* label = qobject_cast<QLabel*>(control);
            auto* button = qobject_cast<QAbstractButton*>(control);
            const QString text = label ? label->text() : button ? button->text() : QString();
            if (text.isEmpty())
                continue;
            const auto alignment = label ? label->alignment() : Qt::Alignment(Qt::AlignCenter);
            const QRect placed = QStyle::alignedRect(Qt::LeftToRight, alignment,
                control->fontMetrics().size(Qt::TextSingleLine, text), control->contentsRect())
                                     .translated(control->mapTo(window, QPoint(0, 0)));
            for (const auto& [other, otherRect] : texts)
                EXPECT_FALSE(placed.intersects(otherRect))
                    << text.toStdString() << " runs into " << other.toStdString();
            texts.emplace_back(text, placed);
        }
        EXPECT_FALSE(texts.empty());
    }
}
