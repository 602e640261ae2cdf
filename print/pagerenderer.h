#pragma once

#include "print/pageheader.h"
#include "print/printedsheet.h"

#include <QString>

class QPagedPaintDevice;

namespace print {

struct RenderResult {
    bool ok = false;
    int pageCount = 0;
    QString error; // when not ok
};

// Gives the device the card's margins and portrait orientation; the paper stays the device's.
void applyCardPageLayout(QPagedPaintDevice& device);

// Draws the grade card on every page it needs of device (a printer, a PDF writer, a
// preview's printer): the page header at the top and the footer at the bottom of every
// page, "/p" in them as the page's number; below the header the grid with its header
// row repeated, the header cells shaded, every cell bordered. Rows
// go on to the next page where the paper ends; columns that do not fit the width go on
// pages of their own, the right-hand columns first, each page with the order numbers
// that tell its rows' pupils. No text is cut: columns and rows
// grow to what their texts need in the fonts that print them.
// The device gets the card's page layout first (applyCardPageLayout).
RenderResult renderCard(const PrintedSheet& sheet, const PageHeader& codes,
                        QPagedPaintDevice& device);

} // namespace print
