#pragma once

// The grade card of a sample grade file from examples/floppy, as the grade sheet shows it
// in its print presentation: for the tests and benchmarks of printing.

#include "freshsheet.h"
#include "gradefile/gradefileio.h"
#include "print/cardtexts.h"
#include "print/presentation.h"
#include "print/printedsheet.h"

#include <optional>

struct SampleCard {
    gradefile::GradeDocument document;
    print::CardTexts texts;
    print::PrintedSheet sheet;
};

// The sample's pupils, repeated in their order as often as needed to give pupils rows
// (the file's own count when pupils is 0). Fonts in family, as the grid has them. A width
// or a size other than 0 replaces the print presentation's, to try the card's limits.
inline std::optional<SampleCard> sampleCard(const QString& fileName, int pupils = 0,
                                            const QString& family = QStringLiteral("Tahoma"),
                                            double gradeWidth = 0, double identifierWidth = 0,
                                            qreal pointSize = 0)
{
    const gradefile::GradeFileRead read =
        gradefile::readGradeFile(QStringLiteral(SAISIE_SOURCE_DIR "/examples/floppy/") + fileName);
    if (!read.lines)
        return std::nullopt;
    gradefile::DocumentRead opened = gradefile::readGradeDocument(fileName, *read.lines);
    if (!opened.document || opened.document->rowCount == 0)
        return std::nullopt;
    SampleCard card{*opened.document, {}, {}};
    print::resetCardTexts(card.texts);
    print::completeCardTexts(card.texts, card.document);

    gradefile::SheetTable table = freshSheetOf(card.document);
    const bool centredNames = card.document.sheetKind == QLatin1String("C");
    table[0][7] = centredNames ? QStringLiteral("الإسم و اللقب")
                               : QStringLiteral("                   الإسم و اللقب  - القسم ");
    table[0][9] = QStringLiteral("ع.ر");
    std::array<bool, gradefile::kSheetColumns> hidden = gradefile::emptyColumnsOf(table);
    hidden[10] = true;

    const print::PresentationLook look = print::presentationLook(print::Presentation::Print);
    table[0][8] = look.identifierHeader;
    double widths[gradefile::kSheetColumns] = {4, 8, 8, 8, 8, 8, 8, 39, 11, 5, 8};
    std::fill(widths + 1, widths + 7, gradeWidth > 0 ? gradeWidth : look.gradeColumnWidth);
    widths[8] = identifierWidth > 0 ? identifierWidth : widths[8];
    const int rows = pupils > 0 ? pupils : card.document.rowCount;
    const print::PrintedFont font{family, pointSize > 0 ? pointSize : look.pointSize, false};

    print::PrintedSheet& sheet = card.sheet;
    for (int col = 0; col < gradefile::kSheetColumns; ++col)
        if (!hidden[size_t(col)])
            sheet.addColumn(col, widths[col]);
    sheet.setRowCount(rows);
    for (int row = 0; row <= rows; ++row) {
        sheet.setRowHeight(row, look.rowHeight);
        const size_t source = row == 0 ? 0 : size_t((row - 1) % card.document.rowCount + 1);
        for (int col = 0; col < gradefile::kSheetColumns; ++col) {
            Qt::Alignment alignment;
            if (row > 0 && col >= 1 && col < print::kNameColumn)
                alignment = Qt::AlignCenter;
            if (row > 0 && col == print::kNameColumn)
                alignment = centredNames ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignVCenter;
            if (col == print::kOrderNumberColumn)
                alignment = look.orderNumberAlignment;
            sheet.setCell(col, row, {table[source][size_t(col)], alignment, font});
        }
    }
    return card;
}
