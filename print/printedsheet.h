#pragma once

#include "gradefile/gradefilelines.h"
#include "gradefile/sheetcolumns.h"

#include <QString>
#include <QVector>
#include <Qt>

#include <array>

namespace print {

// Grid units: a column width unit is 90 twips, a row height unit is one point (20 twips).
inline constexpr int kTwipsPerWidthUnit = 90;
inline constexpr int kTwipsPerHeightUnit = 20;

using gradefile::kIdentifierColumn;
using gradefile::kNameColumn;
using gradefile::kOrderNumberColumn;

// The card prints nothing in bold: bold on the screen says what the teacher did in this
// run (a validated observation, the large presentation), which the card does not tell.
struct PrintedFont {
    QString family;
    qreal pointSize = 9;
};

struct PrintedCell {
    QString text;
    // Physical: AlignLeft is the left edge. Without a horizontal alignment the text
    // starts on the side it reads from (Arabic at the right, digits at the left).
    Qt::Alignment alignment;
    PrintedFont font;
};

struct PrintedColumn {
    int gridColumn = 0;
    double width = 0; // width units of 90 twips
};

// What the card is drawn from: the sheet's cells as the save reads them (row 0 the
// headers), the grid columns the sheet shows, and whether its names stand centred (the
// "C" kind of sheet) or at the left.
struct CardSheet {
    gradefile::SheetTable cells;
    std::array<bool, gradefile::kSheetColumns> shown{};
    bool centredNames = false;
};

// How the card prints, whatever the screen shows: the short identifier header, every cell
// in one plain font, the header row shaded by the page renderer.
struct CardLook {
    QString identifierHeader = gradefile::kShortIdentifierHeader;
    std::array<double, gradefile::kSheetColumns> columnWidths = gradefile::kDesignedColumnWidths;
    double rowHeight = 12.8;
    PrintedFont font{QStringLiteral("Tahoma"), 9};
};

// The grade sheet as it goes onto paper: its shown columns in their order on the screen
// (left to right: grades, then name, identifier and order number), row 0 the column
// headers and rows 1 to rowCount() the pupils. Grid column 0, when shown, holds the row
// headers; row 0 and column 0 print shaded. Widths and heights are the least the card
// gives them: the page renderer widens and heightens them to what their texts need in
// the paper's own font metrics.
class PrintedSheet {
public:
    int columnCount() const { return m_columns.size(); }
    const PrintedColumn& column(int index) const { return m_columns[index]; }
    // The index of a grid column among the shown ones, -1 when it is not shown.
    int indexOfGridColumn(int gridColumn) const;

    int rowCount() const { return m_rows.size() - 1; }
    double rowHeight(int row) const { return m_rows[row].height; } // units of one point
    const PrintedCell& cell(int index, int row) const { return m_rows[row].cells[index]; }
    const PrintedCell& cellAt(int gridColumn, int row) const;

    bool isGradeColumn(int index) const;
    bool isHeaderCell(int index, int row) const;

    // The blank card: every pupil's grade cell empty; names, headers and the rest as they are.
    void blankGradeCells();

private:
    friend PrintedSheet composePrintedSheet(const CardSheet& sheet, const CardLook& look);

    struct Row {
        double height = 0;
        QVector<PrintedCell> cells;
    };
    QVector<PrintedColumn> m_columns;
    QVector<Row> m_rows{Row()};
};

// The card of a sheet: its shown columns, every pupil, grades centred, order numbers
// centred, names as the kind of sheet has them.
PrintedSheet composePrintedSheet(const CardSheet& sheet, const CardLook& look = CardLook());

} // namespace print
