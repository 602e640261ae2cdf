#include "sheet/gridobservations.h"

#include "gradefile/sheetcolumns.h"
#include "observation/observationtext.h"
#include "sheet/gradesheet.h"
#include "sheet/spreadgrid.h"

#include <QColor>

namespace sheet {

using gradefile::kLevelColumn;
using gradefile::kNameColumn;
using gradefile::kOrderNumberColumn;

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
    return m_sheet.text({kNameColumn, row});
}

QString GridObservations::orderNumber(int row) const
{
    return m_sheet.text({kOrderNumberColumn, row});
}

QString GridObservations::observationCell(int row) const
{
    return m_sheet.text({kLevelColumn, row});
}

void GridObservations::setObservationCell(int row, const QString& text)
{
    m_sheet.setText({kLevelColumn, row}, text);
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
    sheet.restoreText({kLevelColumn, row}, text);
    const observation::NameLook look = observation::nameLookFor(observation::observationOf(text));
    sheet.setNameLook(row, {unsigned(look.colour.red << 16 | look.colour.green << 8 |
                                     look.colour.blue),
                            look.bold});
}

void GridObservations::moveCursorTo(int row)
{
    m_grid.setActiveCell({kOrderNumberColumn, row});
}

} // namespace sheet
