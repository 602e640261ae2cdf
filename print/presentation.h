#pragma once

#include "print/printedsheet.h"

#include <QString>
#include <Qt>

#include <optional>

namespace print {

// The two looks of the grade grid on screen: normal and enlarged. The card has its own,
// whatever the screen shows.
struct PresentationLook {
    QString identifierHeader;           // header of column 8
    Qt::Alignment orderNumberAlignment; // every cell of column 9, header included
    double gradeColumnWidth = 0;        // width units, each shown column before column 7
    double rowHeight = 0;               // height units, every row, header row included
    qreal pointSize = 0;                // every cell
    bool bold = false;                  // every cell
};

// The look of the enlarge button: large and bold, or back to normal with bold off.
PresentationLook toggleLook(bool large);

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
    bool bold = false;
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
