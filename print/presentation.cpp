#include "print/presentation.h"

namespace print {

PresentationLook toggleLook(bool large)
{
    if (large)
        return {QStringLiteral("المعرّف"), Qt::AlignLeft | Qt::AlignVCenter, 8, 15, 10, true};
    return {QStringLiteral("المعرّف الوحيد"), Qt::AlignLeft | Qt::AlignVCenter, 6.5, 10.5, 8, false};
}

CellChange presentationChange(const PresentationLook& look, int col, int row, bool columnHidden)
{
    CellChange change;
    if (row == 0 && col == kIdentifierColumn)
        change.text = look.identifierHeader;
    if (col == kOrderNumberColumn)
        change.alignment = look.orderNumberAlignment;
    if (row != 0 && col < kNameColumn && !columnHidden)
        change.columnWidth = look.gradeColumnWidth;
    change.rowHeight = look.rowHeight;
    change.pointSize = look.pointSize;
    change.bold = look.bold;
    return change;
}

int lastPassColumn(int maxCols)
{
    return maxCols - 1;
}

ToggledWidths toggledWidths(int windowWidthBefore, int gridWidthBefore, int gridWidthAfterPass)
{
    return {gridWidthAfterPass - gridWidthBefore + windowWidthBefore, gridWidthBefore};
}

} // namespace print
