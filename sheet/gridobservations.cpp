#include "sheet/gridobservations.h"

#include "gradefile/sheetcolumns.h"
#include "sheet/spreadgrid.h"

namespace sheet {

using gradefile::kLevelColumn;
using gradefile::kNameColumn;
using gradefile::kOrderNumberColumn;

GridObservations::GridObservations(SpreadGrid& grid, std::function<void()> markModified,
                                   std::function<void()> save)
    : m_grid(grid), m_markModified(std::move(markModified)), m_save(std::move(save))
{}

int GridObservations::pupilCount() const
{
    return m_grid.maxRows();
}

QString GridObservations::pupilName(int row) const
{
    return m_grid.text(kNameColumn, row);
}

QString GridObservations::orderNumber(int row) const
{
    return m_grid.text(kOrderNumberColumn, row);
}

QString GridObservations::observationCell(int row) const
{
    return m_grid.text(kLevelColumn, row);
}

void GridObservations::setObservationCell(int row, const QString& text)
{
    m_grid.setText(kLevelColumn, row, text);
}

void GridObservations::setNameLook(int row, const QColor& colour, bool bold)
{
    m_grid.setCellForeColor(kNameColumn, row, colour);
    QFont font = m_grid.font();
    font.setBold(bold);
    m_grid.setCellFont(kNameColumn, row, font);
}

void GridObservations::moveCursorTo(int row)
{
    m_grid.setActiveCell(kOrderNumberColumn, row);
}

} // namespace sheet
