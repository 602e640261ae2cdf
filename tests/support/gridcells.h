#pragma once

#include "core/sheet/gradesheet.h"
#include "gui/grid/gradegrid.h"
#include "gui/grid/griddelegate.h"

#include <QPalette>

// The background a cell is painted with: its check's colour, else the grid's base colour.
inline QColor backColour(const sheet::GradeGrid& grid, sheet::Cell cell)
{
    return sheet::cellBackground(grid.sheet().indexOf(cell))
        .value_or(grid.palette().color(QPalette::Base));
}

// A text the program puts in a cell, locked or not, as it is: no check, no edit.
inline void setCellText(sheet::GradeSheet& model, sheet::Cell cell, const QString& text)
{
    model.sheet::GradeSheet::setData(model.indexOf(cell),
                                     QVariant::fromValue(model.withText(cell, text)),
                                     sheet::GradeSheet::CellStateRole);
}

// Whether every cell of a pupil row that shows at all shows whole: the frozen columns at the
// right edge and the masks beside them hide whole cells, never part of a grade.
inline bool cellsShowWhole(const sheet::GradeGrid& grid, int row)
{
    const QRect viewport = grid.viewport()->geometry();
    QRect shown(0, 0, viewport.width(), viewport.height());
    const auto* overlay = grid.findChild<const QWidget*>(QStringLiteral("frozenColumns"));
    if (overlay && overlay->isVisible())
        shown.setRight(overlay->x() - viewport.x() - 1);
    for (const QWidget* mask :
         grid.findChildren<const QWidget*>(QStringLiteral("frozenColumnsMask"))) {
        const QRect covered = mask->geometry().translated(-viewport.topLeft());
        if (mask->isVisible() && covered.left() == 0)
            shown.setLeft(covered.right() + 1);
        else if (mask->isVisible())
            shown.setRight(covered.left() - 1);
    }
    for (int column = 0; column < grid.model()->columnCount(); ++column) {
        const QRect cell = grid.visualRect(grid.model()->index(row - 1, column));
        const QRect part =
            cell.intersected(QRect(shown.left(), cell.y(), shown.width(), cell.height()));
        if (!grid.isColumnHidden(column) && !part.isEmpty() && part != cell)
            return false;
    }
    return true;
}
