#pragma once

#include "core/card/pageheader.h"
#include "core/card/printedsheet.h"

#include <QString>

class QPagedPaintDevice;

namespace print {

struct RenderResult {
    bool ok = false;
    int pageCount = 0;
    QString error; // when not ok
};

// Why nothing was drawn when the device would not take a painter.
extern const QString kCannotDrawError;

// Gives the device the card's margins and portrait orientation; the paper stays the device's.
void applyCardPageLayout(QPagedPaintDevice& device);

// The header and footer on every page. No text is cut: columns and rows grow to what their
// texts need in the fonts that print them. The device gets applyCardPageLayout first.
RenderResult renderCard(const PrintedSheet& sheet, const PageHeader& codes,
                        QPagedPaintDevice& device);

} // namespace print
