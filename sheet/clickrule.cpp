#include "sheet/clickrule.h"

#include "sheet/spreadgrid.h"

namespace sheet {

void ClickRule::afterLeaveCell(SpreadGrid& grid, bool cancel, Cell keptOn, Cell newCell)
{
    if (cancel) {
        m_refused = keptOn;
        return;
    }
    m_refused.reset();
    clicked(grid, newCell);
}

void ClickRule::clicked(SpreadGrid& grid, Cell cell) const
{
    if (cell.row < 1)
        return;
    if (m_refused == Cell{grid.activeCol(), grid.activeRow()})
        return;
    if (const std::optional<Cell> target = clickTarget(m_kind, cell))
        grid.setActiveCell(target->column, target->row);
}

} // namespace sheet
