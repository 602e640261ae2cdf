#include "sheet/gridpresentation.h"

#include "sheet/spreadgrid.h"

#include <QFontMetrics>

#include <algorithm>
#include <cmath>

namespace sheet {

namespace {

// A row height unit is one point: 20 twips, 4/3 of a pixel at 96 dpi.
int unitsToPixels(double heightUnits)
{
    return qRound(heightUnits * print::kTwipsPerHeightUnit / 15.0);
}

// A column width unit is 90 twips: 6 pixels.
constexpr double kPixelsPerWidthUnit = 6.0;
// The room a cell's frame and margins take besides its text.
constexpr int kCellPadding = 10;

// The width a header needs on at most two lines, broken at a blank.
int headerWidth(const QString& text, const QFontMetrics& metrics)
{
    const QStringList words = text.simplified().split(u' ', Qt::SkipEmptyParts);
    int best = metrics.horizontalAdvance(words.join(u' '));
    for (qsizetype split = 1; split < words.size(); ++split) {
        const int first = metrics.horizontalAdvance(words.mid(0, split).join(u' '));
        const int second = metrics.horizontalAdvance(words.mid(split).join(u' '));
        best = qMin(best, qMax(first, second));
    }
    return best;
}

// The two lines of a header in its bold font, with the header's margins.
int headerHeight(const QFont& font)
{
    QFont bold = font;
    bold.setBold(true);
    return 2 * QFontMetrics(bold).lineSpacing() + 6;
}

} // namespace

GridPresentation::GridPresentation(SpreadGrid& grid)
    : m_grid(grid), m_headerHeight(grid.rowHeightAt(0))
{}

void GridPresentation::apply(const print::PresentationLook& look)
{
    const int lastColumn = print::lastPassColumn(m_grid.maxCols());
    for (int col = 0; col <= lastColumn; ++col) {
        for (int row = 0; row <= m_grid.maxRows(); ++row) {
            const print::CellChange change =
                print::presentationChange(look, col, row, m_grid.isColumnHiddenAt(col));
            if (change.text)
                m_grid.setText(col, row, *change.text);
            if (change.alignment)
                m_grid.setCellAlignment(col, row, *change.alignment);
            if (change.columnWidth)
                m_grid.setColWidth(col, *change.columnWidth);
            QFont font = m_grid.cellFont(col, row);
            font.setPointSizeF(change.pointSize);
            font.setBold(change.bold);
            if (col != 0 || row != 0)
                m_grid.setCellFont(col, row, font);
            if (col != 0)
                continue;
            // Every cell of a row gets the same size: the first column sets the height.
            int height = qMax(unitsToPixels(change.rowHeight), QFontMetrics(font).height() + 2);
            if (row == 0)
                height = std::max({height, m_headerHeight, headerHeight(font)});
            m_grid.setRowHeightAt(row, height);
        }
    }
    fitColumnsToTexts(m_grid);
}

void fitColumnsToTexts(SpreadGrid& grid)
{
    for (int col = 0; col <= grid.maxCols(); ++col) {
        if (grid.isColumnHiddenAt(col))
            continue;
        QFont headerFont = grid.cellFont(col, 0);
        headerFont.setBold(true); // the active cell's header is drawn bold
        int needed = headerWidth(grid.text(col, 0), QFontMetrics(headerFont));
        for (int row = 1; row <= grid.maxRows(); ++row)
            needed =
                qMax(needed,
                     QFontMetrics(grid.cellFont(col, row)).horizontalAdvance(grid.text(col, row)));
        const double units = std::ceil((needed + kCellPadding) / kPixelsPerWidthUnit);
        if (units > grid.colWidth(col))
            grid.setColWidth(col, units);
    }
}

} // namespace sheet
