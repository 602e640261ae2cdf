#pragma once

#include "gradefile/fileerror.h"
#include "print/pageheader.h"
#include "print/printedsheet.h"

#include <QString>

#include <memory>

class QPrinter;

namespace print {

// Where a print went, or why it did not.
struct PrintOutcome {
    bool ok = false;
    int pageCount = 0;
    QString printerName;
    QString error; // when not ok, in English for the report; the window chooses its message
};

// Whether the system has a printer to send the card to: its default printer, or else
// any printer it knows. When it has none, offer a PDF file instead.
bool hasPrinter();

// The name of the printer printCard sends to; empty when there is none.
QString targetPrinterName();

// A printer set up as the card prints on it: the system's printer of that name, or, with
// no name or a name the system does not know, a PDF on A4 paper as writeCardPdf writes
// it. What the preview draws on this printer is what prints.
std::unique_ptr<QPrinter> cardPrinter(const QString& printerName);

// Sends the card to the system's default printer (else its first printer), without a
// dialog, as one job named jobName.
PrintOutcome printCard(const PrintedSheet& sheet, const PageHeader& codes, const QString& jobName);

struct PdfOutcome {
    bool ok = false;
    int pageCount = 0;
    gradefile::FileError error; // when not ok
};

// Writes the card as a PDF file at path, on A4 paper. The file appears whole or not at
// all: it is drawn in memory, written beside path, read back, and only then put in place;
// an old file at path stays as it was on any failure.
PdfOutcome writeCardPdf(const PrintedSheet& sheet, const PageHeader& codes, const QString& path,
                        const QString& title = QString());

// A file name for the PDF of a card, from its description: the characters no file
// system takes become blanks, blanks are collapsed, ".pdf" ends it. A description with
// nothing left gives the card's title.
QString suggestedPdfFileName(const QString& description);

} // namespace print
