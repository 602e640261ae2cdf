#pragma once

#include "freshsheet.h"

// The grade card of a sample grade file from examples/floppy, as the grade sheet shows it
// in its print presentation: for the tests and benchmarks of printing.

#include "gradefile/gradedocument.h"
#include "gradefile/gradefileio.h"
#include "gradefile/gradefilelines.h"
#include "print/cardtexts.h"
#include "print/presentation.h"
#include "print/printedsheet.h"

#include <QString>

#include <functional>
#include <optional>

struct SampleCard {
    gradefile::GradeDocument document;
    print::CardTexts texts;
    print::PrintedSheet sheet;
};

inline QString sampleFloppyPath(const QString& fileName)
{
    return QStringLiteral(SAISIE_SOURCE_DIR "/examples/floppy/") + fileName;
}

// The sample's pupils, repeated in their order as often as needed to give pupils rows
// (the file's own count when pupils is 0). Fonts in family, as the grid has them.
inline std::optional<SampleCard> sampleCard(const QString& fileName, int pupils = 0,
                                            const QString& family = QStringLiteral("Tahoma"))
{
    const gradefile::GradeFileRead read = gradefile::readGradeFile(sampleFloppyPath(fileName));
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
    table[0][8] = QStringLiteral("المعرف الو.");
    table[0][9] = QStringLiteral("ع.ر");
    table[0][10] = QStringLiteral("المستوى");
    std::array<bool, gradefile::kSheetColumns> hidden = gradefile::emptyColumnsOf(table);
    hidden[10] = true;

    const print::PresentationLook look = print::presentationLook(print::Presentation::Print);
    constexpr double kWidths[gradefile::kSheetColumns] = {4, 8, 8, 8, 8, 8, 8, 39, 11, 5, 8};
    const int rows = pupils > 0 ? pupils : card.document.rowCount;
    const print::PrintedFont font{family, look.pointSize, false};

    print::PrintedSheet& sheet = card.sheet;
    for (int col = 0; col < gradefile::kSheetColumns; ++col) {
        if (!hidden[size_t(col)])
            sheet.addColumn(col, col >= 1 && col < print::kNameColumn ? look.gradeColumnWidth
                                                                      : kWidths[col]);
    }
    sheet.setRowCount(rows);
    for (int row = 0; row <= rows; ++row) {
        sheet.setRowHeight(row, look.rowHeight);
        const size_t source = row == 0 ? 0 : size_t((row - 1) % card.document.rowCount + 1);
        for (int col = 0; col < gradefile::kSheetColumns; ++col) {
            QString text = table[source][size_t(col)];
            if (row == 0 && col == print::kIdentifierColumn)
                text = look.identifierHeader;
            Qt::Alignment alignment;
            if (row > 0 && col >= 1 && col < print::kNameColumn)
                alignment = Qt::AlignCenter;
            if (row > 0 && col == print::kNameColumn)
                alignment = centredNames ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignVCenter;
            if (col == print::kOrderNumberColumn)
                alignment = look.orderNumberAlignment;
            sheet.setCell(col, row, {text, alignment, font});
        }
    }
    return card;
}

// The sheet with each column's width as widthOf(grid column, width) gives it and, when
// pointSize is set, every cell in type of that size.
inline print::PrintedSheet reshapedSheet(const print::PrintedSheet& sheet,
                                         const std::function<double(int, double)>& widthOf,
                                         qreal pointSize = 0)
{
    print::PrintedSheet reshaped;
    for (const print::PrintedColumn& column : sheet.columns())
        reshaped.addColumn(column.gridColumn, widthOf(column.gridColumn, column.width));
    reshaped.setRowCount(sheet.rowCount());
    for (int row = 0; row <= sheet.rowCount(); ++row) {
        reshaped.setRowHeight(row, sheet.rowHeight(row));
        for (int index = 0; index < sheet.columnCount(); ++index) {
            print::PrintedCell cell = sheet.cell(index, row);
            cell.font.pointSize = pointSize > 0 ? pointSize : cell.font.pointSize;
            reshaped.setCell(sheet.column(index).gridColumn, row, cell);
        }
    }
    return reshaped;
}
