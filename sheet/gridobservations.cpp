#include "sheet/gridobservations.h"

#include "observation/observationtext.h"
#include "sheet/gradesheet.h"
#include "sheet/spreadgrid.h"

#include <QColor>

namespace sheet {

using PupilField = GradeSheet::PupilField;

GridObservations::GridObservations(GradeSheet& sheet, SpreadGrid& grid,
                                   std::function<void()> markModified, std::function<void()> save,
                                   std::function<void(int)> written)
    : m_sheet(sheet), m_grid(grid), m_markModified(std::move(markModified)),
      m_save(std::move(save)), m_written(std::move(written))
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
    m_sheet.setObservation(row, text);
    // The dialog gives the name its look first, then the text.
    if (m_written)
        m_written(row);
}

void GridObservations::setNameLook(int row, const QColor& colour, bool bold)
{
    m_sheet.setNameLook(row, {colour.rgb() & 0xffffffu, bold});
}

void restoreObservation(GradeSheet& sheet, int row, const QString& text)
{
    sheet.restoreText(GradeSheet::observationCell(row), text);
    const observation::NameLook look = observation::nameLookFor(observation::observationOf(text));
    sheet.setNameLook(row, {unsigned(look.colour.red << 16 | look.colour.green << 8 |
                                     look.colour.blue),
                            look.bold});
}

void GridObservations::moveCursorTo(int row)
{
    m_grid.setActiveCell(GradeSheet::fieldCell(row, PupilField::OrderNumber));
}

} // namespace sheet
