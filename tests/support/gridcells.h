#pragma once

#include "sheet/griddelegate.h"
#include "sheet/gradesheet.h"
#include "sheet/spreadgrid.h"

#include <QPalette>

// The background a cell is painted with: its check's colour, else the grid's base colour.
inline QColor backColour(const sheet::SpreadGrid& grid, sheet::Cell cell)
{
    return sheet::cellBackground(grid.sheet().indexOf(cell))
        .value_or(grid.palette().color(QPalette::Base));
}
