#include "gui/windows/sheet/gridobservations.h"

#include "core/observation/observationtext.h"
#include "core/sheet/gradesheet.h"
#include "gui/grid/gradegrid.h"

#include <QColor>

namespace sheet {

using PupilField = GradeSheet::PupilField;

GridObservations::GridObservations(GradeSheet& sheet, GradeGrid& grid,
                                   std::function<void()> markModified, std::function<void()> save)
    : m_sheet(sheet), m_grid(grid), m_markModified(std::move(markModified)), m_save(std::move(save))
{}

int GridObservations::pupilCount() const
{
    return m_sheet.pupilCount();
}

QString GridObservations::pupilName(int row) const
{
    return m_sheet.field(row, PupilField::Name);
}

QString GridObservations::orderNumber(int row) const
{
    return m_sheet.field(row, PupilField::OrderNumber);
}

QString GridObservations::observationCell(int row) const
{
    return m_sheet.observation(row);
}

void GridObservations::setObservationCell(int row, const QString& text)
{
    // The name first: undoing puts the cursor on it.
    CellState name = m_sheet.state(GradeSheet::fieldCell(row, PupilField::Name));
    name.name = m_nameLook;
    m_sheet.change({{GradeSheet::fieldCell(row, PupilField::Name), name},
                    {GradeSheet::observationCell(row), m_sheet.withText(
                                                           GradeSheet::observationCell(row), text)}});
}

void GridObservations::setNameLook(int, const QColor& colour, bool bold)
{
    m_nameLook = {observation::Rgb{colour.red(), colour.green(), colour.blue()}, bold};
}

QList<std::pair<Cell, CellState>> observationStates(const GradeSheet& sheet, int row,
                                                   const QString& text)
{
    const Cell nameCell = GradeSheet::fieldCell(row, PupilField::Name);
    CellState name = sheet.state(nameCell);
    name.name = observation::nameLookFor(observation::observationOf(text));
    const Cell observationCell = GradeSheet::observationCell(row);
    return {{nameCell, name}, {observationCell, sheet.withText(observationCell, text)}};
}

void GridObservations::moveCursorTo(int row)
{
    m_grid.setActiveCell(GradeSheet::fieldCell(row, PupilField::OrderNumber));
}

} // namespace sheet
