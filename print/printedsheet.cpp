#include "print/printedsheet.h"

namespace print {

namespace {

Qt::Alignment alignmentOf(const CardSheet& sheet, int col, int row)
{
    if (col == kOrderNumberColumn || (row > 0 && col >= 1 && col < kNameColumn))
        return Qt::AlignCenter;
    if (row > 0 && col == kNameColumn)
        return sheet.centredNames ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignVCenter;
    return {};
}

} // namespace

PrintedSheet composePrintedSheet(const CardSheet& sheet, const CardLook& look)
{
    PrintedSheet card;
    for (int col = 0; col < gradefile::kSheetColumns; ++col)
        if (sheet.shown[size_t(col)])
            card.addColumn(col, look.columnWidths[size_t(col)]);
    const int rows = int(sheet.cells.size());
    card.setRowCount(rows - 1);
    for (int row = 0; row < rows; ++row) {
        card.setRowHeight(row, look.rowHeight);
        for (const PrintedColumn& column : card.columns()) {
            const int col = column.gridColumn;
            const QString& text = row == 0 && col == kIdentifierColumn
                                      ? look.identifierHeader
                                      : sheet.cells[size_t(row)][size_t(col)];
            card.setCell(col, row, {text, alignmentOf(sheet, col, row), look.font});
        }
    }
    return card;
}

void PrintedSheet::addColumn(int gridColumn, double widthUnits)
{
    m_columns.append({gridColumn, widthUnits});
    for (Row& row : m_rows)
        row.cells.resize(m_columns.size());
}

void PrintedSheet::setRowCount(int pupilRows)
{
    const int rows = qMax(0, pupilRows) + 1;
    const double height = m_rows.last().height;
    m_rows.resize(rows);
    for (Row& row : m_rows) {
        if (row.cells.size() != m_columns.size()) {
            row.cells.resize(m_columns.size());
            row.height = height;
        }
    }
}

void PrintedSheet::setRowHeight(int row, double heightUnits)
{
    if (row >= 0 && row < m_rows.size())
        m_rows[row].height = heightUnits;
}

int PrintedSheet::indexOfGridColumn(int gridColumn) const
{
    for (int index = 0; index < m_columns.size(); ++index)
        if (m_columns[index].gridColumn == gridColumn)
            return index;
    return -1;
}

void PrintedSheet::setCell(int gridColumn, int row, const PrintedCell& cell)
{
    const int index = indexOfGridColumn(gridColumn);
    if (index >= 0 && row >= 0 && row < m_rows.size())
        m_rows[row].cells[index] = cell;
}

const PrintedCell& PrintedSheet::cellAt(int gridColumn, int row) const
{
    static const PrintedCell kNoCell;
    const int index = indexOfGridColumn(gridColumn);
    if (index < 0 || row < 0 || row >= m_rows.size())
        return kNoCell;
    return m_rows[row].cells[index];
}

bool PrintedSheet::isGradeColumn(int index) const
{
    const int gridColumn = m_columns[index].gridColumn;
    return gridColumn >= 1 && gridColumn < kNameColumn;
}

bool PrintedSheet::isHeaderCell(int index, int row) const
{
    return row == 0 || m_columns[index].gridColumn == 0;
}

void PrintedSheet::blankGradeCells()
{
    for (int index = 0; index < m_columns.size(); ++index) {
        if (!isGradeColumn(index))
            continue;
        for (int row = 1; row < m_rows.size(); ++row)
            m_rows[row].cells[index].text.clear();
    }
}

} // namespace print
