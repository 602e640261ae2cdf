#pragma once

#include "sheet/cellrules.h"

#include <optional>

namespace sheet {

class SpreadGrid;

// The click rule on a grade grid, with the memory of a refused cell check: a refused
// grade keeps the cursor, so neither the click rule after the refusal nor the click the
// refused move came from may take it elsewhere. Both grade sheets use it.
class ClickRule {
public:
    explicit ClickRule(SheetKind kind) : m_kind(kind) {}

    // A cell check refused to let the cursor leave cell.
    void refused(Cell cell) { m_refused = cell; }

    // The end of the checks as the cursor leaves a cell: a refusal keeps the cursor on
    // keptOn; otherwise the click rule applies to the cell the cursor goes to.
    void afterLeaveCell(SpreadGrid& grid, bool cancel, Cell keptOn, Cell newCell);

    // A click on cell: beyond the grade columns the cursor goes to the first grade column
    // of that row, unless the cursor is being kept on a refused cell.
    void clicked(SpreadGrid& grid, Cell cell) const;

private:
    SheetKind m_kind;
    std::optional<Cell> m_refused;
};

} // namespace sheet
