#include "core/card/printedsheet.h"

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
    Q_ASSERT(!sheet.cells.empty()); // the header row is always there
    PrintedSheet card;
    for (int col = 0; col < gradefile::kSheetColumns; ++col)
        if (sheet.shown[size_t(col)])
            card.m_columns.append({col, look.columnWidths[size_t(col)]});
    card.m_rows.resize(int(sheet.cells.size()));
    for (int row = 0; row < card.m_rows.size(); ++row) {
        card.m_rows[row].height = look.rowHeight;
        for (const PrintedColumn& column : card.m_columns) {
            const int col = column.gridColumn;
            const QString& text = row == 0 && col == kIdentifierColumn
                                      ? look.identifierHeader
                                      : sheet.cells[size_t(row)][size_t(col)];
            card.m_rows[row].cells.append({text, alignmentOf(sheet, col, row), look.font});
        }
    }
    return card;
}

int PrintedSheet::indexOfGridColumn(int gridColumn) const
{
    for (int index = 0; index < m_columns.size(); ++index)
        if (m_columns[index].gridColumn == gridColumn)
            return index;
    return -1;
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
