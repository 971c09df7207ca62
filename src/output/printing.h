#pragma once

#include "common/message_box.h"
#include "output/print_fit.h"

#include <QImage>
#include <optional>

namespace quorvex {

// The printer the print commands use. The program keeps one for the whole run, so the orientation
// a page-fit print sets stays in effect for later prints. Tests stand in one that records.
class Printer {
public:
    virtual ~Printer() = default;

    virtual void setOrientation(PageOrientation orientation) = 0;
    // The printable area in HIMETRIC for the current orientation; nothing when no printer is reachable.
    virtual std::optional<PrintSize> printableArea() = 0;
    // Draws the picture at `size` (HIMETRIC) with its top-left corner at the printable area's,
    // opening a document if none is open. False when it could not.
    virtual bool paintPicture(const QImage& picture, const PrintSize& size) = 0;
    // Ends the document, sending the page to the printer. False when there was nothing to send or
    // the printer refused it.
    virtual bool endDoc() = 0;
};

// Prints the picture at its natural size at the top-left of the printable area, in the printer's
// current orientation. Stops at the first failure (no document is ended after a failed painting)
// and then gives false.
bool PrintPictureNormal(Printer& prn, const QImage& pic);

// Turns the page to suit the picture (portrait when it is at least as high as wide), prints it as
// large as the printable area allows with its aspect ratio kept, at the top-left, and ends the
// document. False when nothing was printed: no printer, a picture without pixels, a failed page.
bool PrintPictureToFitPage(Printer& prn, const QImage& pic);

// The warning of a failed print (caption "Failed print").
Message failedPrintMessage();

// The menu clicks "Print" and "Print (page size)": print pic1's drawing-surface image on the
// printer and say so when that failed.
void mnuPrintNormalClick(Printer& printer, MessageBoxes& messages, const QImage& surface);
void mnuPrintToFitClick(Printer& printer, MessageBoxes& messages, const QImage& surface);

} // namespace quorvex
