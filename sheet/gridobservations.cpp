#include "sheet/gridobservations.h"

#include "gradefile/sheetcolumns.h"
#include "observation/observationtext.h"
#include "sheet/spreadgrid.h"

namespace sheet {

using gradefile::kLevelColumn;
using gradefile::kNameColumn;
using gradefile::kOrderNumberColumn;

GridObservations::GridObservations(SpreadGrid& grid, std::function<void()> markModified,
                                   std::function<void()> save, CellJournal* journal,
                                   std::function<void(int)> written)
    : m_grid(grid), m_markModified(std::move(markModified)), m_save(std::move(save)),
      m_journal(journal), m_written(std::move(written))
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
    if (m_journal)
        m_journal->cellCommitted({kLevelColumn, row}, text);
    // The dialog gives the name its look first, then the text.
    if (m_written)
        m_written(row);
}

namespace {

void showNameLook(SpreadGrid& grid, int row, const QColor& colour, bool bold)
{
    grid.setCellForeColor(kNameColumn, row, colour);
    QFont font = grid.font();
    font.setBold(bold);
    grid.setCellFont(kNameColumn, row, font);
}

} // namespace

void GridObservations::setNameLook(int row, const QColor& colour, bool bold)
{
    showNameLook(m_grid, row, colour, bold);
}

void restoreObservationCell(SpreadGrid& grid, int row, const QString& text)
{
    grid.setText(kLevelColumn, row, text);
    const observation::NameLook look = observation::nameLookFor(observation::observationOf(text));
    showNameLook(grid, row, QColor(look.colour.red, look.colour.green, look.colour.blue),
                 look.bold);
}

void GridObservations::moveCursorTo(int row)
{
    m_grid.setActiveCell(kOrderNumberColumn, row);
}

} // namespace sheet
