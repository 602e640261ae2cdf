#pragma once

#include "core/gradefile/gradefilelines.h"
#include "core/gradefile/sheetcolumns.h"

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

// Nothing in bold: bold on the screen says what the teacher did in this run, which the card
// does not tell.
struct PrintedFont {
    QString family;
    qreal pointSize = 9;
};

struct PrintedCell {
    QString text;
    // Physical: AlignLeft is the left edge. Without one the text starts on the side it reads from.
    Qt::Alignment alignment;
    PrintedFont font;
};

struct PrintedColumn {
    int gridColumn = 0;
    double width = 0; // width units of 90 twips
};

// The cells as the save reads them; names stand centred in the "C" kind of sheet.
struct CardSheet {
    gradefile::SheetTable cells;
    std::array<bool, gradefile::kSheetColumns> shown{};
    bool centredNames = false;
};

// Whatever the screen shows.
struct CardLook {
    QString identifierHeader = gradefile::kShortIdentifierHeader;
    std::array<double, gradefile::kSheetColumns> columnWidths = gradefile::kDesignedColumnWidths;
    double rowHeight = 12.8;
    PrintedFont font{QStringLiteral("Tahoma"), 9};
};

// The shown columns in their order on the screen. Widths and heights are the least: the page
// renderer grows them to what their texts need in the paper's own font metrics.
class PrintedSheet {
public:
    int columnCount() const { return m_columns.size(); }
    const PrintedColumn& column(int index) const { return m_columns[index]; }
    // -1 when it is not shown.
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

PrintedSheet composePrintedSheet(const CardSheet& sheet, const CardLook& look = CardLook());

} // namespace print
