#pragma once

#include "print/presentation.h"
#include "print/printedsheet.h"

namespace sheet {

class SpreadGrid;

// Gives the grade grid one of its looks (on screen, on paper, enlarged), cell by cell, and
// takes the grid as it prints. Row heights never go below what the grid's font needs, nor
// the header row below the two lines an exam name may take: no text is cut on screen.
class GridPresentation {
public:
    explicit GridPresentation(SpreadGrid& grid);

    void apply(const print::PresentationLook& look);

    // The grid as it goes onto paper, in its current look.
    print::PrintedSheet printedSheet() const;

private:
    SpreadGrid& m_grid;
    int m_headerHeight;
};

// Widens each shown column that is too narrow for its texts in the fonts the grid uses
// (the header on its two lines): the designed widths were chosen for Tahoma, and a wider
// font standing in for it must not cut an identifier or an exam's name.
void fitColumnsToTexts(SpreadGrid& grid);

} // namespace sheet
