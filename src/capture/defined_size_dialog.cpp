#include "capture/defined_size_dialog.h"

#include "capture/digit_key_filter.h"
#include "capture/overlay_geometry.h"
#include "capture/selection_overlay.h"
#include "capture/window_exposure.h"
#include "common/dialog_window.h"
#include "common/message_box.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

namespace quorvex {

namespace {

const QString kDesignText = QStringLiteral("100");

template <typename Control> Control* place(Control* control, const char* name, QRect twipsRect, Twips twips)
{
    control->setObjectName(QLatin1String(name));
    control->setGeometry(twipsToPixels(twipsRect, twips));
    return control;
}

QPushButton* plainButton(QPushButton* button)
{
    // A push button in a dialog becomes the default on focus unless told not to.
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

} // namespace

Form3::Form3(OverlayProvider overlay, Twips twips, QWidget* parent)
    : QDialog(parent, kDialogWindowFlags)
    , m_overlay(std::move(overlay))
    , m_twips(twips)
    , Text1(place(new QLineEdit(kDesignText, this), "Text1", {120, 960, 975, 375}, twips))
    , Text2(place(new QLineEdit(kDesignText, this), "Text2", {1680, 960, 975, 375}, twips))
    , Label1(place(new QLabel(QStringLiteral("Horizontal"), this), "Label1", {120, 720, 1095, 255}, twips))
    , Label2(place(new QLabel(QStringLiteral("Vertical"), this), "Label2", {1680, 720, 975, 255}, twips))
    , Label3(place(
          new QLabel(QStringLiteral("Set size of Grab area"), this), "Label3", {360, 240, 2055, 375}, twips))
    , Command1(place(plainButton(new QPushButton(QStringLiteral("OK"), this)), "Command1",
          {1440, 1560, 855, 375}, twips))
    , Command2(place(plainButton(new QPushButton(QStringLiteral("Cancel"), this)), "Command2",
          {360, 1560, 855, 375}, twips))
{
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(kProgramTitle);
    setModal(true);
    setFixedSize(twips.toPixelsX(2880), twips.toPixelsY(2100));
    Label3->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    new DigitKeyFilter(Text1);
    setTabOrder(Text1, Text2);
    setTabOrder(Text2, Command1);
    setTabOrder(Command1, Command2);
    connect(Command1, &QPushButton::clicked, this, &Form3::onOk);
    connect(Command2, &QPushButton::clicked, this, &QDialog::reject);
}

void Form3::done(int result)
{
    QDialog::done(result);
    restoreDesignTexts();
}

void Form3::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void Form3::onOk()
{
    // The dialog goes first: where the overlay stands on a still picture of the desktop, that picture
    // is taken as the overlay loads, and must not hold the dialog.
    hide();
    // Asking for the overlay loads it when needed, and its load handling shows it.
    const QPointer<Form2> overlay = m_overlay ? m_overlay() : nullptr;
    if (!overlay) {
        reject();
        return;
    }
    const int marginW = overlay->windowWidthTwips() - overlay->selectionWidthTwips();
    const int marginH = overlay->windowHeightTwips() - overlay->selectionHeightTwips();
    const Twips twips = m_twips;
    // A frame just shown is placed by the window manager a moment later; resized before then, it
    // could carry a place Qt saw in between. Even while it is placed, Qt may hear of a passing place
    // (0,0 under openbox, now and then): the frame keeps the place it had when OK was pressed.
    const QPoint place = overlay->pos();
    waitUntilExposed(*overlay);
    if (!overlay) { // closed during the pass
        reject();
        return;
    }
    if (overlay->pos() != place)
        overlay->move(place);
    // The typed sizes are picture pixels: device pixels of the overlay's screen.
    const Twips picture = twips.perDevicePixel(overlay->deviceRatio());
    const double width = leadingNumber(Text1->text());
    const double height = leadingNumber(Text2->text());
    overlay->setWindowWidthTwips(definedSizeLength(marginW, width, picture.perPixelX, twips.perPixelX));
    overlay->setWindowHeightTwips(definedSizeLength(marginH, height, picture.perPixelY, twips.perPixelY));
    overlay->setDefinedGrabSize(QSize(roundHalfEven(width), roundHalfEven(height)));
    accept();
    overlay->show();
}

void Form3::restoreDesignTexts()
{
    Text1->setText(kDesignText);
    Text2->setText(kDesignText);
}

} // namespace quorvex
