#include "app/about_box.h"

#include "app/artwork.h"
#include "app/clickable_label.h"
#include "app/readable_colour.h"
#include "app/twips_layout.h"

#include <QEvent>
#include <QPainter>
#include <QPushButton>

namespace quorvex {

AboutBox::AboutBox(const Twips& twips, QWidget* parent)
    : QFrame(parent)
    , m_twips(twips)
{
    setObjectName(QStringLiteral("Frame1"));
    placeInTwips(this, twips, 360, 600, 7095, 2235);
    // The box was laid out for 8-point text.
    QFont text = font();
    text.setPointSizeF(8);
    setFont(text);

    auto label = [&](const char* name, const QString& text, QRect r) {
        auto* l = new QLabel(text, this);
        l->setObjectName(QLatin1String(name));
        placeInTwips(l, twips, r.x(), r.y(), r.width(), r.height());
        return l;
    };
    Label1 = label(
        "Label1", QStringLiteral("Quorvex7 for Windows XP, Vista and Windows 7"), {360, 240, 4455, 255});
    Label4 = label("Label4", QStringLiteral("Version 7.1"), {4080, 240, 2055, 255});
    Label4->setCursor(artwork::pointingHand());
    Label2 = label("Label2", QStringLiteral("Grab, zoom, turn, save and print it."), {360, 600, 3015, 255});
    Label8 = label("Label8", QString(), {1320, 960, 1575, 255});
    // Label1's rectangle reaches under Label4's: its text must end where Label4's begins.
    shrinkFontToFit(Label1, Label4->x() - Label1->x());
    for (QLabel* fitted : {Label4, Label2})
        shrinkFontToFit(fitted, fitted->width());

    Label18 = new ClickableLabel(QStringLiteral("Like Quorvex7 ?"), this);
    Label18->setObjectName(QStringLiteral("Label18"));
    placeInTwips(Label18, twips, 360, 1900, 1935, 255);
    QFont linkFont(QStringLiteral("MS Sans Serif"));
    linkFont.setPointSizeF(8.25);
    linkFont.setUnderline(true);
    Label18->setFont(linkFont);
    Label18->setCursor(artwork::pointingHand());
    connect(Label18, &ClickableLabel::clicked, this, &AboutBox::optionsPageAsked);

    // Its top edge stands above the box's: as the box's sibling it shows whole, where a child of
    // the box would be cut off at the box's edge. It comes and goes with the box.
    Command1 = new QPushButton(QStringLiteral("X"), parent);
    Command1->setObjectName(QStringLiteral("Command1"));
    // A white face, whatever the theme: its letter stays black.
    Command1->setStyleSheet(
        QStringLiteral("QPushButton { background: white; color: black; border: 1px solid gray; }"));
    connect(Command1, &QPushButton::clicked, this, &QWidget::hide);
    Command1->hide();

    followPalette();
    hide();
}

AboutBox::~AboutBox()
{
    delete Command1.data();
}

void AboutBox::followPalette()
{
    // The texts stand on the tooltip colour: they take its text colour, or one that stands out from it.
    const QColor background = palette().color(QPalette::ToolTipBase);
    const QColor text = readableOn(palette().color(QPalette::ToolTipText), background);
    for (QLabel* label : {Label1, Label4, Label2, Label8}) {
        QPalette p = label->palette();
        p.setColor(QPalette::WindowText, text);
        label->setPalette(p);
    }
    // The link is blue as designed where blue stands out, else the theme's own link colour.
    const QColor blue(0, 0, 255);
    const QColor link = contrastRatio(blue, background) >= kLegibleContrast
        ? blue
        : readableOn(palette().color(QPalette::Link), background);
    QPalette p = Label18->palette();
    p.setColor(QPalette::WindowText, link);
    Label18->setPalette(p);
}

void AboutBox::changeEvent(QEvent* event)
{
    QFrame::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        followPalette();
}

void AboutBox::showEvent(QShowEvent* event)
{
    QFrame::showEvent(event);
    placeButton();
    if (Command1) {
        Command1->show();
        Command1->raise();
    }
}

void AboutBox::hideEvent(QHideEvent* event)
{
    QFrame::hideEvent(event);
    if (Command1)
        Command1->hide();
}

void AboutBox::moveEvent(QMoveEvent* event)
{
    QFrame::moveEvent(event);
    placeButton();
}

void AboutBox::placeButton()
{
    if (Command1)
        Command1->setGeometry(pixelRect(m_twips, 6360, -120, 495, 375).translated(pos()));
}

void AboutBox::showBox()
{
    resize(pixelRect(m_twips, 0, 0, 6975, 2235).size());
    show();
    raise();
    if (Command1)
        Command1->raise();
}

void AboutBox::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    p.setPen(QColor(192, 192, 0));
    p.setBrush(palette().color(QPalette::ToolTipBase));
    p.drawRect(QRect(QPoint(0, 0), pixelRect(m_twips, 0, 0, 6975, 2175).size()).adjusted(0, 0, -1, -1));
}

} // namespace quorvex
