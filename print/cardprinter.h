#pragma once

#include "core/card/pageheader.h"
#include "core/card/printedsheet.h"
#include "core/gradefile/fileerror.h"

#include <QString>

#include <functional>
#include <memory>

class QPagedPaintDevice;
class QPrinter;

namespace print {

struct PrintOutcome {
    bool ok = false;
    int pageCount = 0;
    QString printerName;
    QString error; // when not ok, in English for the report; the window chooses its message
};

// Its default printer, or else any printer it knows.
bool hasPrinter();

// The name of the printer printCard sends to; empty when there is none.
QString targetPrinterName();

// A PDF on A4 paper for a name the system does not know. What the preview draws on it is what
// prints.
std::unique_ptr<QPrinter> cardPrinter(const QString& printerName);

// Without a dialog, as one job.
PrintOutcome printCard(const PrintedSheet& sheet, const PageHeader& codes, const QString& jobName);

// Dots per inch of the card's PDF and of a printer that takes it.
inline constexpr int kPdfResolution = 1200;

struct PdfOutcome {
    bool ok = false;
    int pageCount = 0;
    gradefile::FileError error; // when not ok
};

struct RenderResult;
using PageRendering = std::function<RenderResult(QPagedPaintDevice& device)>;

// What render draws, as a PDF on A4 paper. The file appears whole or not at all: an old file at
// path stays as it was on any failure.
PdfOutcome writePdf(const QString& path, const QString& title, const PageRendering& render);

// The card, through writePdf.
PdfOutcome writeCardPdf(const PrintedSheet& sheet, const PageHeader& codes, const QString& path,
                        const QString& title = QString());

// A description with nothing left a file system takes gives the card's title.
QString suggestedPdfFileName(const QString& description);

} // namespace print
