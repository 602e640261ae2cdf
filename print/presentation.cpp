#include "print/presentation.h"

#include <QtMath>

namespace print {

namespace {

const QString kFullIdentifierHeader = QStringLiteral("المعرّف الوحيد");
const QString kShortIdentifierHeader = QStringLiteral("المعرّف");

} // namespace

PresentationLook presentationLook(Presentation presentation)
{
    switch (presentation) {
    case Presentation::Normal:
        return {kFullIdentifierHeader, Qt::AlignLeft | Qt::AlignVCenter, 6.5, 10.5, 8, {}};
    case Presentation::Print:
        return {kShortIdentifierHeader, Qt::AlignCenter, 8, 12.8, 9, {}};
    case Presentation::Large:
        break;
    }
    return {kShortIdentifierHeader, Qt::AlignLeft | Qt::AlignVCenter, 8, 15, 10, {}};
}

PresentationLook toggleLook(bool large)
{
    PresentationLook look = presentationLook(large ? Presentation::Large : Presentation::Normal);
    look.bold = large;
    return look;
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
