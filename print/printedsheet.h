#pragma once

#include <QString>
#include <QVector>
#include <Qt>

namespace print {

struct PrintedFont {
    QString family;
    qreal pointSize = 9;
    bool bold = false;
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

// The grade grid as it goes onto paper: its shown columns in their order on the screen
// (left to right: grades, then name, identifier and order number), row 0 the column
// headers and rows 1 to rowCount() the pupils. Grid column 0, when shown, holds the row
// headers; row 0 and column 0 print shaded. Made from the grid by one loop:
//   for each column left to right that is not hidden: addColumn(col, width)
//   setRowCount(maxRows); for each row: setRowHeight(row, height)
//   for each shown column and each row: setCell(col, row, {text, alignment, font})
class PrintedSheet {
public:
    void addColumn(int gridColumn, double widthUnits);
    // Pupil rows; the header row 0 comes besides. Keeps the cells already set.
    void setRowCount(int pupilRows);
    // Height units of one point.
    void setRowHeight(int row, double heightUnits);
    // Ignored for a column not added or a row outside 0 to rowCount().
    void setCell(int gridColumn, int row, const PrintedCell& cell);

    int columnCount() const { return m_columns.size(); }
    const PrintedColumn& column(int index) const { return m_columns[index]; }
    const QVector<PrintedColumn>& columns() const { return m_columns; }
    // The index of a grid column among the shown ones, -1 when it is not shown.
    int indexOfGridColumn(int gridColumn) const;

    int rowCount() const { return m_rows.size() - 1; }
    double rowHeight(int row) const { return m_rows[row].height; }
    const PrintedCell& cell(int index, int row) const { return m_rows[row].cells[index]; }
    const PrintedCell& cellAt(int gridColumn, int row) const;

    bool isGradeColumn(int index) const;
    bool isHeaderCell(int index, int row) const;

    // The blank card: every pupil's grade cell empty; names, headers and the rest as they are.
    void blankGradeCells();

private:
    struct Row {
        double height = 0;
        QVector<PrintedCell> cells;
    };
    QVector<PrintedColumn> m_columns;
    QVector<Row> m_rows{Row()};
};

} // namespace print
