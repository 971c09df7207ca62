#include "app/toolbar.h"

#include "app/artwork.h"
#include "app/clickable_label.h"
#include "app/command_actions.h"
#include "app/readable_colour.h"
#include "app/twips_layout.h"

#include <QEvent>
#include <QPainter>

namespace quorvex {

namespace {

// The tips box: a rounded rectangle in the tooltip colour with an olive border.
class TipsFrame : public QFrame {
public:
    using QFrame::QFrame;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QColor(192, 192, 0));
        p.setBrush(palette().color(QPalette::ToolTipBase));
        p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
    }
};

void setTextColour(QWidget* widget, const QColor& colour)
{
    QPalette palette = widget->palette();
    palette.setColor(widget->foregroundRole(), colour);
    widget->setPalette(palette);
}

ClickableLabel* item(QWidget* parent, const Twips& twips, QRect twipsRect, const QPixmap& picture = {})
{
    auto* label = new ClickableLabel(parent);
    placeInTwips(label, twips, twipsRect.x(), twipsRect.y(), twipsRect.width(), twipsRect.height());
    label->setCursor(artwork::pointingHand());
    if (!picture.isNull()) {
        label->setPixmap(picture);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }
    return label;
}

} // namespace

Toolbar::Toolbar(const Twips& twips, QWidget* parent)
    : QFrame(parent)
    , m_twips(twips)
{
    setObjectName(QStringLiteral("Frame2"));
    placeInTwips(this, twips, 0, -80, 7575, 520);

    Image1 = item(this, twips, {120, 160, 240, 240}, artwork::exitBitmap());
    Label15 = new QLabel(QStringLiteral("Exit"), this);
    placeInTwips(Label15, twips, 420, 195, 375, 255);
    Label15->setCursor(artwork::pointingHand());
    Image2 = item(this, twips, {950, 160, 240, 240}, artwork::saveBitmap());
    Label16 = item(this, twips, {1440, 180, 255, 255});
    Label17 = item(this, twips, {1800, 180, 255, 255});
    Image4 = item(this, twips, {2350, 200, 240, 240}, artwork::clearBitmap());
    Image7 = item(this, twips, {2760, 200, 240, 240});
    Image7->setPixmap(artwork::rotateIcon());
    Image7->setScaledContents(true);
    Image6 = item(this, twips, {3240, 105, 360, 360}, artwork::aboutBitmap());

    frmTips = new TipsFrame(this);
    frmTips->setObjectName(QStringLiteral("frmTips"));
    placeInTwips(frmTips, twips, 4200, 120, 3255, 375);
    lblTips = new QLabel(frmTips);
    lblTips->setObjectName(QStringLiteral("lblTips"));
    placeInTwips(lblTips, twips, 240, 75, 2895, 285);
    lblTips->setAttribute(Qt::WA_TranslucentBackground);
    frmTips->hide();

    const QList<std::pair<QWidget*, const char*>> names
        = {{Image1, "Image1"}, {Label15, "Label15"}, {Image2, "Image2"}, {Label16, "Label16"},
            {Label17, "Label17"}, {Image4, "Image4"}, {Image7, "Image7"}, {Image6, "Image6"}};
    for (const auto& [widget, name] : names)
        widget->setObjectName(QLatin1String(name));
    followPalette();
}

void Toolbar::followBackground(const QColor& background)
{
    m_background = background;
    // The label stands on the window's own colour, which the design fixes: its text must stand out.
    setTextColour(Label15, readableOn(palette().color(QPalette::WindowText), background));
}

void Toolbar::followPalette()
{
    setTextColour(
        lblTips, readableOn(palette().color(QPalette::ToolTipText), palette().color(QPalette::ToolTipBase)));
    followBackground(m_background);
}

void Toolbar::changeEvent(QEvent* event)
{
    QFrame::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        followPalette();
}

void Toolbar::showActions(const CommandActions& actions)
{
    Image1->showAction(actions.mnuExit);
    Image2->showAction(actions.mnuSaveAs);
    Label16->showAction(actions.mnuSelectArea);
    Label17->showAction(actions.mnuWholeScreen);
    Image4->showAction(actions.Clear);
    Image7->showAction(actions.mnuRotate90); // the same quarter turn as the menu's "90"
    Image6->showAction(actions.About);
}

void Toolbar::showTip(const QString& hint)
{
    if (hint.isEmpty()) {
        frmTips->hide();
        return;
    }
    lblTips->setText(hint);
    frmTips->show();
}

void Toolbar::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    QPainter p(this);
    // Separators: a white and a black vertical line from 150 to 400 twips down.
    const int top = m_twips.toPixelsY(150);
    const int bottom = m_twips.toPixelsY(400);
    for (int across : {840, 1335, 2220, 3135}) {
        const int x = m_twips.toPixelsX(across);
        p.setPen(Qt::white);
        p.drawLine(x, top, x, bottom);
        p.setPen(Qt::black);
        p.drawLine(x + 1, top, x + 1, bottom);
    }
    // The glyphs under the two grab labels: a small rounded square, and a screen.
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(40, 40, 40), 1.5));
    p.setBrush(Qt::NoBrush);
    const QRect area = Label16->geometry().adjusted(3, 3, -3, -3);
    p.drawRoundedRect(QRectF(area), 3, 3);
    const QRect screen = Label17->geometry().adjusted(1, 3, -1, -5);
    p.setBrush(QColor(170, 200, 240));
    p.drawRoundedRect(QRectF(screen), 2, 2);
    p.drawLine(screen.center().x(), screen.bottom(), screen.center().x(), screen.bottom() + 3);
}

} // namespace quorvex
