#pragma once

#include "gradefile/sheetcolumns.h"

#include <QString>
#include <Qt>

#include <optional>

namespace print {

// Grid units: a column width unit is 90 twips, a row height unit is one point (20 twips).
inline constexpr int kTwipsPerWidthUnit = 90;
inline constexpr int kTwipsPerHeightUnit = 20;

// The three looks of the grade grid: on screen, on paper, and enlarged on screen.
enum class Presentation { Normal, Print, Large };

struct PresentationLook {
    QString identifierHeader;           // header of column 8
    Qt::Alignment orderNumberAlignment; // every cell of column 9, header included
    double gradeColumnWidth = 0;        // width units, each shown column before column 7
    double rowHeight = 0;               // height units, every row, header row included
    qreal pointSize = 0;                // every cell
    std::optional<bool> bold;           // every cell; nullopt leaves bold as it is
};

// The look a print or a preview gives the grid, and the normal look it returns to
// afterwards; bold is left as it is.
PresentationLook presentationLook(Presentation presentation);

// The look of the enlarge button: large and bold, or back to normal with bold off.
PresentationLook toggleLook(bool large);

using gradefile::kIdentifierColumn;
using gradefile::kNameColumn;
using gradefile::kOrderNumberColumn;

// What a presentation pass does to one cell of the grid. A pass visits the columns 0 to
// lastPassColumn(maxCols) and the rows 0 to maxRows, column by column, and applies to
// each cell, in this order, the header text, the alignment, the width of its column, the
// height of its row, the font size and the bold that are set here.
struct CellChange {
    std::optional<QString> text;
    std::optional<Qt::Alignment> alignment;
    std::optional<double> columnWidth;
    double rowHeight = 0;
    qreal pointSize = 0;
    std::optional<bool> bold;
};

CellChange presentationChange(const PresentationLook& look, int col, int row, bool columnHidden);

// The last column a pass visits: the grid's last column (the hidden level column) keeps
// its look.
int lastPassColumn(int maxCols);

// The enlarge button keeps the window's and the grid's widths (twips) before its pass;
// afterwards the window grows or shrinks by what the grid's width did in the pass, and
// the grid takes its width back.
struct ToggledWidths {
    int windowWidth = 0;
    int gridWidth = 0;
};

ToggledWidths toggledWidths(int windowWidthBefore, int gridWidthBefore, int gridWidthAfterPass);

} // namespace print
